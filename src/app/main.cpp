// loadcalc: the load calculation in its dialog.
#include "app/load_calc_app.h"

CLoadCalcApp theApp;

int main(int argc, char** argv) { return theApp.Run(argc, argv); }
