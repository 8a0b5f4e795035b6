#include "form_seeds.h"

#include <filesystem>

#include "dbwriter/db_writer.h"
#include "fuzz_input.h"
#include "report/form_file.h"

namespace zorel::fuzz {
namespace {

// A form that reaches every property: named and unnamed colours, each style, long texts.
std::unique_ptr<TReport> RichForm() {
  auto r = std::make_unique<TReport>();
  r->ReportTitle = QStringLiteral("Просмотр отчетов");
  r->Font.Style = kFsBold | kFsItalic | kFsUnderline | kFsStrikeOut;
  r->Frame = {0x123456, true, false, true, false, PenStyle::DashDotDot, 300};
  r->Page.SetPaperSize(PaperSize::Env12);
  r->Page.SetOrientation(Orientation::Landscape);
  r->Page.SetColumns(20);
  TRepBand& band = r->CreateBand(QStringLiteral("DetailBand"));
  band.Frame.Width = -1;
  band.Frame.DrawBottom = true;
  for (int i = 0; i < 4; ++i) {
    auto& label = band.AddLabel(
        std::make_unique<TRepPrnLabel>(QString("%1%2").arg(QChar('a' + i)).arg(i + 1)));
    label.Caption = QString(i * 100, QChar(u'ы'));
    label.Size = {50.5 * i, 10.0 * i, 7.25, 400000.0 / (i + 1) / 100};
    label.Frame.Style = static_cast<PenStyle>(i);
    label.Font.Color = i % 2 ? 0xFFFF00 : 0x010101;
  }
  band.AddLabel(std::make_unique<TRepLabel>(QStringLiteral("x")));
  return r;
}

}  // namespace

void FormSeeds(const std::string& dir) {
  std::filesystem::create_directories(dir);
  TReport empty;
  TReport bandOnly;
  bandOnly.CreateBand(QStringLiteral("B"));
  const std::string files[] = {WriteFormBytes(empty), WriteFormBytes(bandOnly),
                               WriteFormBytes(*RichForm())};
  int n = 0;
  for (const std::string& file : files) {
    InputWriter input;
    input.Piece(file);
    WriteBytes(dir + "/seed-" + std::to_string(n++), input.bytes());
  }
}

}  // namespace zorel::fuzz
