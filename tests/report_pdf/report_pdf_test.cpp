// The report written as a PDF file.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "report_pdf/report_pdf.h"
#include "report_pdf_test_support.h"
#include "../support/temp_folder.h"

namespace {

std::string Head(const std::filesystem::path& path, size_t bytes) {
  std::ifstream in(path, std::ios::binary);
  std::string head(bytes, '\0');
  in.read(head.data(), static_cast<std::streamsize>(bytes));
  head.resize(static_cast<size_t>(in.gcount()));
  return head;
}

class ReportPdfTest : public testing::Test {
 protected:
  void SetUp() override { EnsureTestApplication(); }
  ::test::TempFolder folder{"loadcalc-report"};
};

TEST_F(ReportPdfTest, WritesAPdfAndReplacesAnOldFileWhole) {
  const auto path = folder.path("计算书.pdf");
  { std::ofstream(path) << "old"; }
  EXPECT_TRUE(report_pdf::WriteReportPdf(MadeUpReport(3), path.string()).ok());
  EXPECT_EQ(Head(path, 5), "%PDF-");
  // Nothing but the report is left in the folder: no temporary file.
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.Path()), {}), 1);
}

TEST_F(ReportPdfTest, FailuresAreReportedAndLeaveNoFile) {
  const xls::Status missing = report_pdf::WriteReportPdf(MadeUpReport(3), folder.path("no/such.pdf").string());
  EXPECT_FALSE(missing.ok());
  EXPECT_FALSE(std::filesystem::exists(folder.path("no")));

  std::filesystem::create_directory(folder.path("folder.pdf"));
  const xls::Status folderTarget = report_pdf::WriteReportPdf(MadeUpReport(3), folder.path("folder.pdf").string());
  ASSERT_FALSE(folderTarget.ok());
  EXPECT_EQ(folderTarget.error().kind, xls::ErrorKind::NotRegularFile) << folderTarget.error().text;
  EXPECT_TRUE(std::filesystem::is_directory(folder.path("folder.pdf")));
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.Path()), {}), 1);
}

}  // namespace
