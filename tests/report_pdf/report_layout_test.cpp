// The report laid out on A4 pages of the PDF writer: pages, repeated
// headers, page numbers, and no text clipped or drawn over other text.
#include <gtest/gtest.h>

#include <QBuffer>
#include <QFontMetricsF>
#include <QPdfWriter>
#include <limits>
#include <optional>

#include "report_pdf/phase_chart_layout.h"
#include "report_pdf/report_font.h"
#include "report_pdf/report_layout.h"
#include "report_pdf/report_pdf.h"
#include "report_pdf/table_layout.h"
#include "report_pdf_test_support.h"

namespace {

using report_pdf::Page;
using report_pdf::TextItem;

class ReportLayoutTest : public testing::Test {
 protected:
  void SetUp() override {
    EnsureTestApplication();
    buffer.open(QIODevice::WriteOnly);
    report_pdf::SetUpReportPage(writer);
  }

  std::vector<Page> LayOut(const report::CalculationReport& report) {
    return report_pdf::LayOutReport(report, writer, Content());
  }
  QSizeF Content() const { return QSizeF(writer.width(), writer.height()); }

  static std::vector<TextItem> Texts(const Page& page) {
    std::vector<TextItem> texts;
    for (const auto& item : page.items)
      if (const auto* text = std::get_if<TextItem>(&item)) texts.push_back(*text);
    return texts;
  }
  static bool HasText(const Page& page, const QString& text) {
    for (const TextItem& item : Texts(page))
      if (item.text == text) return true;
    return false;
  }

  // Every text inside the page's printable area, as wide as its box at
  // most, and clear of every other text.
  void ExpectNothingClippedOrOverlapping(const std::vector<Page>& pages) {
    const QRectF area(QPointF(0, 0), Content());
    for (size_t p = 0; p < pages.size(); ++p) {
      const std::vector<TextItem> texts = Texts(pages[p]);
      for (size_t i = 0; i < texts.size(); ++i) {
        const TextItem& a = texts[i];
        EXPECT_TRUE(area.contains(a.box)) << "page " << p + 1 << ": " << a.text.toStdString();
        const qreal width = QFontMetricsF(report_pdf::ReportFont(a.role), &writer).horizontalAdvance(a.text);
        EXPECT_LE(width, a.box.width() + 0.5) << a.text.toStdString();
        for (size_t k = i + 1; k < texts.size(); ++k) {
          const QRectF inner = texts[k].box.adjusted(0.5, 0.5, -0.5, -0.5);
          EXPECT_FALSE(a.box.adjusted(0.5, 0.5, -0.5, -0.5).intersects(inner))
              << "page " << p + 1 << ": " << a.text.toStdString() << " / " << texts[k].text.toStdString();
        }
      }
    }
  }

  QBuffer buffer;
  QPdfWriter writer{&buffer};
};

TEST_F(ReportLayoutTest, FifteenCircuitsShareTheFirstPage) {
  const auto pages = LayOut(MadeUpReport(15));
  ASSERT_FALSE(pages.empty());
  for (int i = 1; i <= 15; ++i) EXPECT_TRUE(HasText(pages[0], QString("WL%1").arg(i))) << i;
  EXPECT_TRUE(HasText(pages[0], "配电箱负荷计算书"));
  EXPECT_TRUE(HasText(pages[0], QString("第 1 页 / 共 %1 页").arg(pages.size())));
  ExpectNothingClippedOrOverlapping(pages);
}

TEST_F(ReportLayoutTest, LongBoardRunsOverPagesWithHeaderAndNumberOnEach) {
  const auto pages = LayOut(MadeUpReport(200, true));
  ASSERT_GE(pages.size(), 5u);
  int circuitsSeen = 0;
  for (size_t p = 0; p < pages.size(); ++p) {
    EXPECT_TRUE(HasText(pages[p], QString("第 %1 页 / 共 %2 页").arg(p + 1).arg(pages.size()))) << p + 1;
    for (const TextItem& text : Texts(pages[p])) circuitsSeen += text.text.startsWith("WL") ? 1 : 0;
  }
  // Every circuit twice: in the circuit table and in the balancing table.
  EXPECT_EQ(circuitsSeen, 400);
  // Every page with rows of a table opens with that table's header row.
  for (size_t p = 0; p < pages.size(); ++p) {
    bool rows = false;
    for (const TextItem& text : Texts(pages[p])) rows = rows || text.text.startsWith("WL");
    if (rows) {
      EXPECT_TRUE(HasText(pages[p], "线路编号")) << p + 1;
    }
  }
  EXPECT_TRUE(HasText(pages.back(), "平衡后相别"));
  ExpectNothingClippedOrOverlapping(pages);
}

// A cell taller than a page goes on on the next page, line by line, with
// nothing lost.
TEST_F(ReportLayoutTest, RowTallerThanAPageContinuesOnTheNext) {
  auto report = MadeUpReport(2);
  std::string huge;
  for (int i = 0; i < 1500; ++i) huge += "MCCB-" + std::to_string(i) + ";";
  report.circuits.rows[0][7] = "-";
  report.circuits.rows[1][7] = huge;
  const auto pages = LayOut(report);
  ASSERT_GE(pages.size(), 3u);
  qreal column = -1;
  for (const TextItem& text : Texts(pages[0]))
    if (text.text == "可选开关") column = text.box.left();
  QString joined;
  for (const Page& page : pages)
    for (const TextItem& text : Texts(page))
      if (text.box.left() == column && text.text != "可选开关" && text.text != "-") joined += text.text;
  const QString text = QString::fromStdString(huge);
  EXPECT_EQ(joined, text);
  EXPECT_TRUE(HasText(pages[1], "线路编号"));
  ExpectNothingClippedOrOverlapping(pages);
}

TEST_F(ReportLayoutTest, BarsFollowTheLoadsAndTheMeanLineCrossesAtTheMean) {
  auto report = MadeUpReport(3);
  report.phases.bars = {{{"L1", 12, "12"}, {"L2", 10, "10"}, {"L3", 8, "8"}}};
  report.phases.mean = 10;
  const auto pages = LayOut(report);
  std::vector<QRectF> bars;
  std::optional<qreal> meanY;
  for (const auto& item : pages[0].items) {
    if (const auto* fill = std::get_if<report_pdf::FillItem>(&item); fill && fill->outline.isValid())
      bars.push_back(fill->box);
    if (const auto* line = std::get_if<report_pdf::LineItem>(&item); line && line->dashed) meanY = line->line.y1();
  }
  ASSERT_EQ(bars.size(), 3u);
  EXPECT_NEAR(bars[0].height() / bars[2].height(), 12.0 / 8.0, 1e-6);
  EXPECT_NEAR(bars[1].height() / bars[2].height(), 10.0 / 8.0, 1e-6);
  EXPECT_DOUBLE_EQ(bars[0].bottom(), bars[2].bottom());
  ASSERT_TRUE(meanY);
  EXPECT_NEAR(*meanY, bars[1].top(), 1e-6);
  ExpectNothingClippedOrOverlapping(pages);
}

TEST_F(ReportLayoutTest, NegativeOrEndlessLoadsStillGiveAReadableChart) {
  auto report = MadeUpReport(1);
  report.phases.bars = {{{"L1", -4, "-4"}, {"L2", std::numeric_limits<float>::infinity(), "inf"}, {"L3", 0, "0"}}};
  report.phases.mean = std::numeric_limits<float>::infinity();
  const auto pages = LayOut(report);
  EXPECT_TRUE(HasText(pages[0], "-4"));
  EXPECT_TRUE(HasText(pages[0], "inf"));
  ExpectNothingClippedOrOverlapping(pages);
}

TEST(ReportColumns, NarrowColumnsKeepTheirWidthAndWideOnesShareTheRest) {
  const auto fitted = report_pdf::FitColumns({10, 20, 300, 200}, 130);
  EXPECT_EQ(fitted, (std::vector<qreal>{10, 20, 50, 50}));
  const auto stretched = report_pdf::FitColumns({10, 30}, 80);
  EXPECT_EQ(stretched, (std::vector<qreal>{20, 60}));
  EXPECT_TRUE(report_pdf::FitColumns({}, 80).empty());
}

TEST(ReportAxis, StepsAreOneTwoOrFiveTimesAPowerOfTen) {
  EXPECT_DOUBLE_EQ(report_pdf::AxisStep(0, 14.3), 5);
  EXPECT_DOUBLE_EQ(report_pdf::AxisStep(0, 1), 0.5);
  EXPECT_DOUBLE_EQ(report_pdf::AxisStep(-4, 4), 2);
  EXPECT_DOUBLE_EQ(report_pdf::AxisStep(0, 3000), 1000);
  EXPECT_DOUBLE_EQ(report_pdf::AxisStep(0, 0), 1);
}

}  // namespace
