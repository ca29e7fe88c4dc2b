// Reports made up in the test, and the application object painting needs.
#pragma once

#include <QGuiApplication>
#include <string>

#include "report/calculation_report.h"

// Made once and never destroyed: Qt's globals may be gone before statics.
inline void EnsureTestApplication() {
  static int argc = 1;
  static char name[] = "report_pdf_test";
  static char* argv[] = {name, nullptr};
  static QGuiApplication* application = new QGuiApplication(argc, argv);
  (void)application;
}

// A board of `circuits` rows with nine columns, as after a calculation.
inline report::CalculationReport MadeUpReport(int circuits, bool balanced = false) {
  report::CalculationReport report;
  report.title = "配电箱负荷计算书";
  report.facts = {"工作簿：电气计算.xls", "计算时间：2026-01-02 03:04:05", "功率因数 cosφ：0.5", "需要系数 Kx：0.8"};
  report.circuits.heading = "一、各回路负荷计算";
  report.circuits.headers = {"线路编号", "相别", "设备功率", "需要系数", "功率因数", "计算功率", "计算电流", "可选开关", "备注"};
  for (int i = 0; i < circuits; ++i)
    report.circuits.rows.push_back({"WL" + std::to_string(i + 1), "L" + std::to_string(i % 3 + 1), "2.5", "0.8", "0.85",
                                    "2.000000", "10.695187", "C16;C32;C40;C50;C63;MCCB-125;MCCB-250;MCCB-400;",
                                    "办公室照明及插座回路"});
  report.phases.heading = "二、三相负荷与不平衡度";
  report.phases.bars = {{{"L1", 12.6f, "12.6"}, {"L2", 10.1f, "10.1"}, {"L3", 14.3f, "14.3"}}};
  report.phases.mean = 12.3333f;
  report.phases.meanText = "平均 12.3333";
  report.phases.unit = "kW";
  report.phases.notes = {"不平衡度 = (最大相 − 最小相) × 3 / 三相之和", "= (14.3 − 10.1) × 3 / 37 = 0.340541",
                         "不平衡度 0.340541 ≥ 0.15，设备功率取最大相负荷的 3 倍。"};
  report.board = {"三、总回路计算结果",
                  {"设备功率 Pe = 3 × 14.3 = 42.9 kW", "计算功率 Pjs = Kx × Pe = 0.8 × 42.9 = 34.32 kW",
                   "计算电流 Ijs = Pjs × 1.52 / cosφ = 34.32 × 1.52 / 0.5 = 104.333 A"}};
  report.switches = {"四、开关选择", {"可选择开关：MCCB-125、MCCB-250、MCCB-400", "选用开关：MCCB-125"}};
  if (balanced) {
    report::Table table;
    table.heading = "五、自动平衡前后的相别";
    table.headers = {"线路编号", "平衡前相别", "平衡后相别"};
    for (const auto& row : report.circuits.rows) table.rows.push_back({row[0], row[1], "L2"});
    report.balancing = table;
  }
  return report;
}
