#include "report/form_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QFontDatabase>
#include <QStringList>
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>

#include "data/file_util.h"
#include "data/text1251.h"
#include "dbwriter/db_writer.h"
#include "report/form_error.h"
#include "report/form_stream.h"
#include "report/page_generator.h"
#include "report/printer_output.h"
#include "report/sample_forms.h"
#include "support/error_of.h"
#include "support/every_failing_step.h"
#include "support/temp_dir.h"

namespace zorel {
namespace {

using test_support::ErrorOf;
using test_support::FaultyFiles;
using test_support::ForEveryFailingStep;
using test_support::Strays;
using test_support::TempDir;

std::string Bytes(std::initializer_list<int> list) {
  std::string s;
  for (const int b : list) s.push_back(static_cast<char>(b));
  return s;
}

// A form whose every property differs from its default.
std::unique_ptr<TReport> FullForm() {
  auto r = std::make_unique<TReport>();
  r->ReportTitle = QStringLiteral("Просмотр отчетов");
  r->Font = {204, 0x123456, -13, QStringLiteral("Serif"), kFsBold | kFsUnderline};
  r->Frame = {0x0000FF, true, true, false, true, PenStyle::DashDot, 3};
  r->Page.SetPaperSize(PaperSize::Env10);
  r->Page.SetOrientation(Orientation::Landscape);
  r->Page.SetColumns(3);
  r->Page.SetTopMargin(12.5);
  r->Page.SetBottomMargin(7);
  r->Page.SetLeftMargin(10);
  r->Page.SetRightMargin(4.2);
  r->Page.SetColumnSpace(6);
  TRepBand& band = r->CreateBand(QStringLiteral("RepBand1"));
  band.Frame = {0xFFFFFF, false, true, true, false, PenStyle::Dot, -1};
  band.Font = {1, 0x808080, -20, QStringLiteral("Mono"), kFsItalic | kFsStrikeOut};
  band.SetHeight(33.3);
  auto& a = band.AddLabel(std::make_unique<TRepPrnLabel>(QStringLiteral("a1")));
  a.Caption = QStringLiteral("Наименование предприятия");
  a.Size = {120.5, -10, -20.25, 700};  // left of and above the band, as a move may leave it
  a.AutoSize = true;
  a.Frame.Width = 0;
  auto& r1 = band.AddLabel(std::make_unique<TRepPrnLabel>(QStringLiteral("r1")));
  r1.Caption = QString(300, QChar(u'Ж'));  // a long text
  r1.Size = {50, 0, 0, 100};
  return r;
}

TEST(FormFile, NewFormsStoreAnInstalledFamilyWithItsBoldFace) {
  TReport report;
  TRepBand& band = report.CreateBand(QStringLiteral("DetailBand"));
  band.AddLabel(std::make_unique<TRepPrnLabel>(QStringLiteral("a1")));
  const QString family = report.Font.Name;
  EXPECT_TRUE(QFontDatabase::families().contains(family)) << family.toStdString();
  EXPECT_TRUE(QFontDatabase::styles(family).contains(QStringLiteral("Bold")))
      << family.toStdString();
  const auto back = ReadFormBytes(WriteFormBytes(report));
  EXPECT_EQ(back->Font.Name, family);
  EXPECT_EQ(back->DetailBand()->Labels().at(0)->Font.Name, family);
}

// The sample card explains its numbers: each number has a caption ending in ":" on its left
// in the same row; and the products keep clear of the box drawn around them.
TEST(SampleForms, CardNumbersHaveCaptionsAndProductsAMargin) {
  const auto card = EnterpriseCardForm();
  const auto& labels = card->DetailBand()->Labels();
  auto letter = [](const TRepLabel& l) { return l.Name.at(0).toLatin1(); };
  for (const auto& value : labels) {
    if (std::string_view("cdgh").find(letter(*value)) == std::string_view::npos) continue;
    const bool captioned = std::any_of(labels.begin(), labels.end(), [&](const auto& c) {
      return letter(*c) == 'r' && c->Caption.endsWith(u':') && c->Size.Top == value->Size.Top &&
             c->Size.Left + c->Size.Width <= value->Size.Left;
    });
    EXPECT_TRUE(captioned) << value->Name.toStdString();
  }
  const auto products =
      std::find_if(labels.begin(), labels.end(), [&](const auto& l) { return letter(*l) == 'q'; });
  ASSERT_NE(products, labels.end());
  const TRepLabel::Measures& p = (*products)->Size;
  const bool boxed = std::any_of(labels.begin(), labels.end(), [&](const auto& b) {
    const TRepLabel::Measures& m = b->Size;
    return b->Frame.Present() && b->Caption.isEmpty() && p.Left - m.Left >= 15 &&
           p.Top - m.Top >= 10 && m.Left + m.Width - (p.Left + p.Width) >= 15 &&
           m.Top + m.Height - (p.Top + p.Height) >= 10;
  });
  EXPECT_TRUE(boxed);
  EXPECT_FALSE((*products)->Frame.Present());
}

TEST(FormFile, HeaderAndEmptyBand) {
  TReport report;
  report.CreateBand(QStringLiteral("RepBand1"));
  const std::string file = WriteFormBytes(report);
  const std::string lead = Bytes({0xFF, 0x0A, 0x00}) + "TREPORT" + Bytes({0x00, 0x30, 0x10});
  ASSERT_EQ(file.substr(0, 13), lead);
  const auto* p = reinterpret_cast<const std::uint8_t*>(file.data());
  const std::uint32_t size = p[13] | (p[14] << 8) | (p[15] << 16) | (p[16] << 24);
  EXPECT_EQ(size, file.size() - 17);
  EXPECT_EQ(file.substr(17, 13), "RPF0" + Bytes({7}) + "TReport" + Bytes({0}));
  // The band's properties end, its empty children list, the root's children end.
  EXPECT_EQ(file.substr(file.size() - 3), Bytes({0, 0, 0}));
}

TEST(FormFile, PageValuesInTenthsOfAMillimetre) {
  TReport report;
  report.Page.SetLeftMargin(10);
  const std::string file = WriteFormBytes(report);
  const std::size_t at = file.find("Page.Values");
  ASSERT_NE(at, std::string::npos);
  // Tag 1, then tag 5 and ten bytes per number: the fifth is the left margin.
  const std::size_t fifth = at + 11 + 1 + 4 * 11;
  ASSERT_EQ(file[fifth], 5);
  double v = 0;
  ASSERT_TRUE(DecodeExtended(reinterpret_cast<const std::uint8_t*>(file.data() + fifth + 1), v));
  EXPECT_EQ(v, 100.0);
  std::uint8_t ext[10];
  EncodeExtended(100.0, ext);
  EXPECT_EQ(std::string(reinterpret_cast<char*>(ext), 10),
            Bytes({0, 0, 0, 0, 0, 0, 0, 0xC8, 0x05, 0x40}));
}

// Every property of the form differs from its default, so a property read wrongly or not at all
// changes the bytes written again.
TEST(FormFile, RoundTripKeepsEveryPropertyAndEveryByte) {
  const auto form = FullForm();
  const std::string file = WriteFormBytes(*form);
  const auto back = ReadFormBytes(file);
  EXPECT_EQ(WriteFormBytes(*back), file);
  EXPECT_EQ(back->Page.Width(), 241);  // landscape: the long side across
  const TRepBand& band = *back->DetailBand();
  ASSERT_EQ(band.Labels().size(), 2u);
  for (const auto& label : band.Labels()) {
    EXPECT_EQ(label->ClassName(), "TRepPrnLabel");
    EXPECT_EQ(label->Report(), back.get());
  }
}

TEST(FormFile, ValueTagsBySize) {
  struct Case {
    std::int64_t value;
    int tag;
  } cases[] = {{0, 2},     {127, 2},   {-128, 2},   {128, 3},          {-32768, 3},
               {32767, 3}, {32768, 4}, {-32769, 4}, {2147483647LL, 4}, {2147483648LL, 19}};
  for (const Case& c : cases) {
    FormStreamWriter w;
    w.Integer(c.value);
    EXPECT_EQ(w.bytes()[0], c.tag) << c.value;
    FormStreamReader r(w.bytes());
    EXPECT_EQ(r.Value().integer, c.value);
  }
  FormStreamWriter w;
  w.Text(std::string(255, 'x'));
  w.Text(std::string(256, 'x'));
  EXPECT_EQ(w.bytes()[0], 6);
  EXPECT_EQ(w.bytes()[2 + 255], 12);

  TReport report;
  report.Font.Color = 0x0000FF;   // clRed
  report.Frame.Color = 0x010203;  // no name
  const std::string file = WriteFormBytes(report);
  EXPECT_NE(file.find("Font.Color" + Bytes({7, 5}) + "clRed"), std::string::npos);
  EXPECT_NE(file.find("Frame.Color" + Bytes({4, 3, 2, 1, 0})), std::string::npos);
}

// Other writers may leave out the measures, use other string tags and integers for colours.
TEST(FormFile, ReadsTheWholeVocabulary) {
  FormStreamWriter w;
  w.bytes() = Bytes({0xFF, 10, 0}) + "X" + Bytes({0, 0x30, 0x10, 0, 0, 0, 0}) + "RPF0";
  w.ShortText("TReport");
  w.ShortText("");
  w.ShortText("Page.PaperSize");
  w.Ident("A5");
  w.ShortText("Page.Orientation");
  w.Ident("poLandscape");
  w.End();
  w.ShortText("TRepBand");
  w.ShortText("B");
  w.End();
  w.ShortText("TRepLabel");
  w.ShortText("a1");
  for (const char* p : {"Left", "Top", "Width", "Height"}) {
    w.ShortText(p);
    w.Integer(96);
  }
  w.ShortText("Caption");
  w.Byte(18);
  w.U32(2);
  w.bytes() += Bytes({0x16, 0x04, 'A', 0});  // "ЖA" in UTF-16
  w.ShortText("Font.Color");
  w.Integer(0x00FF00);
  // Ends the label's properties and children, the band's children and the root's.
  for (int i = 0; i < 4; ++i) w.End();
  std::string& file = w.bytes();
  const auto size = static_cast<std::uint32_t>(file.size() - 11);
  for (int i = 0; i < 4; ++i) file[7 + i] = static_cast<char>(size >> (8 * i));
  const auto r = ReadFormBytes(file);
  EXPECT_EQ(r->Page.Width(), 210);
  EXPECT_EQ(r->Page.Length(), 148);
  const TRepLabel& l = *r->DetailBand()->Labels()[0];
  EXPECT_EQ(l.ClassName(), "TRepLabel");
  EXPECT_EQ(l.Caption, QStringLiteral("ЖA"));
  EXPECT_DOUBLE_EQ(l.Size.Width, 254);  // 96 pixels are an inch
  EXPECT_EQ(l.Font.Color, 0x00FF00u);
}

TEST(FormFile, RefusesWhatItCannotReadWhole) {
  const std::string good = WriteFormBytes(*FullForm());
  auto replaced = [&good](const std::string& from, const std::string& to) {
    std::string s = good;
    s.replace(s.find(from), from.size(), to);
    return s;
  };
  const auto far = FullForm();
  far->DetailBand()->Labels()[1]->Size.Left = -kMaxMeasureTenths - 1;
  struct Case {
    std::string bytes;
    std::string message;
  } cases[] = {
      {WriteFormBytes(*far), kInvalidPropertyValue},
      {"", kInvalidStreamFormat},
      {"RPF0", kInvalidStreamFormat},
      {Bytes({0xFF, 11, 0}) + good.substr(3), kInvalidStreamFormat},
      {replaced("RPF0", "RPF1"), kInvalidStreamFormat},
      {replaced("TRepPrnLabel", "TRepXxxLabel"), "Class TRepXxxLabel not found"},
      // Names quoted from the file are its Windows-1251 bytes, said in UTF-8.
      {replaced("TRepPrnLabel", *FromUtf8("ЯрлыкПечати1")), "Class ЯрлыкПечати1 not found"},
      {replaced("AutoSize" + Bytes({9}), "AutoSize" + Bytes({2, 1})), kInvalidPropertyValue},
      {replaced("rbDetail", "rbHeader"), kInvalidPropertyValue},
      {replaced("Caption", "Captiox"), "Property Captiox does not exist"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ErrorOf<FormError>([&] { ReadFormBytes(c.bytes); }), c.message);
  }
  // Every truncation fails cleanly; so does a size field that promises more than there is.
  for (std::size_t n = 0; n < good.size(); ++n) {
    EXPECT_THROW(ReadFormBytes(std::string_view(good).substr(0, n)), FormError) << n;
  }
}

TEST(FormFile, SaveReplacesThroughATemporaryFile) {
  TempDir dir;
  const std::string real = dir / "real.rpt";
  const std::string link = dir / "form.rpt";
  std::ofstream(real) << "old";
  chmod(real.c_str(), 0640);
  std::filesystem::create_symlink(real, link);
  const auto form = FullForm();
  SaveFormFile(link, *form);
  EXPECT_TRUE(std::filesystem::is_symlink(link));
  EXPECT_EQ(ReadWholeFile(real).value_or(""), WriteFormBytes(*form));
  struct stat st {};
  stat(real.c_str(), &st);
  EXPECT_EQ(st.st_mode & 0777, 0640u);
  EXPECT_EQ(LoadFormFile(link)->DetailBand()->Labels().size(), 2u);

  EXPECT_THROW(SaveFormFile(dir / "missing/x.rpt", *form), FormError);
  std::filesystem::permissions(
      dir.path(), std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
  if (access(dir.path().c_str(), W_OK) != 0) {  // root writes anyway
    EXPECT_THROW(SaveFormFile(real, TReport()), FormError);
    EXPECT_EQ(ReadWholeFile(real).value_or(""), WriteFormBytes(*form));
  }
  std::filesystem::permissions(dir.path(), std::filesystem::perms::owner_all);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 2);
  EXPECT_THROW(LoadFormFile(dir / "none.rpt"), FormError);
}

// Print forms and PDFs go through the store's one replacement path, as list files do (whose
// tests are the store's): a file the user may not write is refused with the reason, and whatever
// step of a write fails (a full disk among them), the old file stays whole and nothing is left
// behind.

void WriteOnePagePdf(const std::string& path) {
  const auto form = EnterpriseCardForm();
  PageGenerator pages(*form);
  pages.RunToEnd();
  WritePdf(path, UserFileRules{.atLink = AtLink::Replace, .keptOut = {}}, *form, pages);
}

struct Writer {
  const char* kind;
  std::function<void(const std::string& path)> write;  // throws when refused or failed
  std::function<bool(const std::string& bytes)> isNew;
};

const Writer kWriters[] = {
    {"form", [](const std::string& path) { SaveFormFile(path, *AddressLabelsForm()); },
     [](const std::string& bytes) { return bytes == WriteFormBytes(*AddressLabelsForm()); }},
    {"PDF", WriteOnePagePdf,
     [](const std::string& bytes) {
       return bytes.starts_with("%PDF") && bytes.find("%%EOF") != std::string::npos;
     }},
};

mode_t ModeOf(const std::string& path) {
  struct stat st {};
  stat(path.c_str(), &st);
  return st.st_mode & 07777;
}

TEST(OutputFiles, AFileTheUserMayNotWriteIsRefused) {
  for (const Writer& w : kWriters) {
    for (const mode_t mode : {0444, 0544}) {
      SCOPED_TRACE(std::string(w.kind) + " " + std::to_string(mode));
      TempDir dir;
      const std::string path = dir / "protected";
      WriteBytes(path, "old");
      chmod(path.c_str(), mode);
      const std::string error = ErrorOf<std::runtime_error>([&] { w.write(path); });
      EXPECT_NE(error.find(path + ": файл только для чтения"), std::string::npos) << error;
      EXPECT_EQ(ReadWholeFile(path).value_or(""), "old");
      EXPECT_EQ(ModeOf(path), mode);
      EXPECT_EQ(Strays(dir.path(), {"protected"}), std::set<std::string>{});
    }
  }
}

TEST(OutputFiles, AFailedStepLeavesTheOldFileWhole) {
  for (const Writer& w : kWriters) {
    SCOPED_TRACE(w.kind);
    ForEveryFailingStep([&w](FaultyFiles& faulty) {
      TempDir dir;
      const std::string path = dir / "out";
      WriteBytes(path, "old");
      bool refused = false;
      {
        ScopedFileSystem use(faulty);
        refused = ErrorOf<std::runtime_error>([&] { w.write(path); }) != "no error";
      }
      const std::string bytes = ReadWholeFile(path).value_or("");
      EXPECT_TRUE(refused ? bytes == "old" : w.isNew(bytes)) << refused;
      EXPECT_EQ(Strays(dir.path(), {"out"}), std::set<std::string>{});
    });
  }
}

}  // namespace
}  // namespace zorel
