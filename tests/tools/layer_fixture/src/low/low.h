#pragma once
#include "high/high.h"
#include "side/side.h"
#include <QWidget>
#include <vector>
