#include "report/form_file.h"

#include <algorithm>
#include <cmath>
#include <functional>

#include "data/bytes.h"
#include "data/file_util.h"
#include "data/replacement_file.h"
#include "report/form_error.h"
#include "report/form_stream.h"
#include "textconv/text_convert.h"

namespace zorel {
namespace {

constexpr std::string_view kResourceName = "TREPORT";
constexpr std::string_view kSignature = "RPF0";
constexpr std::uint16_t kResourceType = 10;  // given as a number
constexpr std::uint16_t kMemoryFlags = 0x1030;
constexpr std::size_t kHeaderScan = 79;
constexpr int kMaxColumns = 100;

// ---- writing ----

void WriteFont(FormStreamWriter& w, const ReportFont& f) {
  w.ShortText("Font.Charset");
  w.Integer(f.Charset);
  w.ShortText("Font.Color");
  if (const auto ident = ColorIdent(f.Color)) {
    w.Ident(*ident);
  } else {
    w.Integer(static_cast<std::int32_t>(f.Color));
  }
  w.ShortText("Font.Height");
  w.Integer(f.Height);
  w.ShortText("Font.Name");
  w.Text(ToCp(f.Name));
  w.ShortText("Font.Style");
  std::vector<std::string_view> members;
  if (f.Style & kFsBold) members.push_back("fsBold");
  if (f.Style & kFsItalic) members.push_back("fsItalic");
  if (f.Style & kFsUnderline) members.push_back("fsUnderline");
  if (f.Style & kFsStrikeOut) members.push_back("fsStrikeOut");
  w.Set(members);
}

void WriteFrame(FormStreamWriter& w, const TRepFrame& f) {
  w.ShortText("Frame.Color");
  if (const auto ident = ColorIdent(f.Color)) {
    w.Ident(*ident);
  } else {
    w.Integer(static_cast<std::int32_t>(f.Color));
  }
  w.ShortText("Frame.DrawTop");
  w.Boolean(f.DrawTop);
  w.ShortText("Frame.DrawBottom");
  w.Boolean(f.DrawBottom);
  w.ShortText("Frame.DrawLeft");
  w.Boolean(f.DrawLeft);
  w.ShortText("Frame.DrawRight");
  w.Boolean(f.DrawRight);
  w.ShortText("Frame.Style");
  w.Ident(PenStyleIdent(f.Style));
  w.ShortText("Frame.Width");
  w.Integer(f.Width);
}

void WriteLabel(FormStreamWriter& w, const TRepLabel& label) {
  w.ShortText(label.ClassName());
  w.ShortText(ToCp(label.Name));
  w.ShortText("Left");
  w.Integer(label.Left());
  w.ShortText("Top");
  w.Integer(label.Top());
  w.ShortText("Width");
  w.Integer(label.Width());
  w.ShortText("Height");
  w.Integer(label.Height());
  w.ShortText("Size.Values");
  w.FloatList({label.Size.Height, label.Size.Left, label.Size.Top, label.Size.Width});
  w.ShortText("AutoSize");
  w.Boolean(label.AutoSize);
  w.ShortText("Caption");
  w.Text(ToCp(label.Caption));
  WriteFont(w, label.Font);
  WriteFrame(w, label.Frame);
  w.End();  // properties
  w.End();  // children
}

void WriteBand(FormStreamWriter& w, const TRepBand& band, const TReport& report) {
  w.ShortText("TRepBand");
  w.ShortText(ToCp(band.Name));
  w.ShortText("BandType");
  w.Ident("rbDetail");
  WriteFont(w, band.Font);
  WriteFrame(w, band.Frame);
  w.ShortText("Size.Values");
  w.FloatList({band.HeightTenths, report.Page.ColumnWidth()});
  w.End();
  for (const auto& label : band.Labels()) WriteLabel(w, *label);
  w.End();
}

void WriteReport(FormStreamWriter& w, const TReport& report) {
  w.ShortText("TReport");
  w.ShortText({});
  WriteFont(w, report.Font);
  WriteFrame(w, report.Frame);
  w.ShortText("Page.Columns");
  w.Integer(report.Page.Columns());
  w.ShortText("Page.Orientation");
  w.Ident(OrientationIdent(report.Page.PageOrientation()));
  w.ShortText("Page.PaperSize");
  w.Ident(PaperSizeIdent(report.Page.Paper()));
  w.ShortText("Page.Values");
  const auto& v = report.Page.AllValues();
  w.FloatList(std::vector<double>(v.begin(), v.end()));
  w.ShortText("ReportTitle");
  w.Text(ToCp(report.ReportTitle));
  w.End();
  if (report.HasDetail()) WriteBand(w, *report.DetailBand(), report);
  w.End();
}

// ---- reading ----

[[noreturn]] void BadValue() { throw FormError(kInvalidPropertyValue); }

std::int64_t IntIn(const FormValue& v, std::int64_t low, std::int64_t high) {
  if (v.kind != FormValue::Kind::Int || v.integer < low || v.integer > high) BadValue();
  return v.integer;
}

bool Bool(const FormValue& v) {
  if (v.kind != FormValue::Kind::Bool) BadValue();
  return v.boolean;
}

QString Text(const FormValue& v) {
  if (v.kind != FormValue::Kind::Text) BadValue();
  return FromCp(v.text);
}

const std::string& Ident(const FormValue& v) {
  if (v.kind != FormValue::Kind::Ident) BadValue();
  return v.text;
}

RepColor Color(const FormValue& v) {
  if (v.kind == FormValue::Kind::Ident) {
    if (const auto c = ColorFromIdent(v.text)) return *c;
    BadValue();
  }
  return static_cast<RepColor>(IntIn(v, INT32_MIN, INT32_MAX)) & 0x00FFFFFF;
}

// A list of exactly n measures, each within ten metres of 0 either way (a label may lie left of
// or above its band); callers check the ones that cannot be negative.
std::vector<double> Measures(const FormValue& v, std::size_t n) {
  if (v.kind != FormValue::Kind::List || v.items.size() != n) BadValue();
  std::vector<double> out;
  for (const FormValue& item : v.items) {
    double x = 0;
    if (item.kind == FormValue::Kind::Float) {
      x = item.number;
    } else if (item.kind == FormValue::Kind::Int) {
      x = static_cast<double>(item.integer);
    } else {
      BadValue();
    }
    if (!(x >= -kMaxMeasureTenths && x <= kMaxMeasureTenths)) BadValue();
    out.push_back(x);
  }
  return out;
}

double NonNegative(double x) {
  if (x < 0) BadValue();
  return x;
}

bool ApplyFont(ReportFont& f, std::string_view path, const FormValue& v) {
  if (path == "Font.Charset") {
    f.Charset = static_cast<int>(IntIn(v, 0, 255));
  } else if (path == "Font.Color") {
    f.Color = Color(v);
  } else if (path == "Font.Height") {
    f.Height = static_cast<int>(IntIn(v, -kMaxFontHeight, kMaxFontHeight));
  } else if (path == "Font.Name") {
    f.Name = Text(v);
  } else if (path == "Font.Style") {
    if (v.kind != FormValue::Kind::Set) BadValue();
    f.Style = 0;
    for (const std::string& m : v.members) {
      if (m == "fsBold") {
        f.Style |= kFsBold;
      } else if (m == "fsItalic") {
        f.Style |= kFsItalic;
      } else if (m == "fsUnderline") {
        f.Style |= kFsUnderline;
      } else if (m == "fsStrikeOut") {
        f.Style |= kFsStrikeOut;
      } else {
        BadValue();
      }
    }
  } else {
    return false;
  }
  return true;
}

bool ApplyFrame(TRepFrame& f, std::string_view path, const FormValue& v) {
  if (path == "Frame.Color") {
    f.Color = Color(v);
  } else if (path == "Frame.DrawTop") {
    f.DrawTop = Bool(v);
  } else if (path == "Frame.DrawBottom") {
    f.DrawBottom = Bool(v);
  } else if (path == "Frame.DrawLeft") {
    f.DrawLeft = Bool(v);
  } else if (path == "Frame.DrawRight") {
    f.DrawRight = Bool(v);
  } else if (path == "Frame.Style") {
    const auto style = PenStyleFromIdent(Ident(v));
    if (!style) BadValue();
    f.Style = *style;
  } else if (path == "Frame.Width") {
    f.Width = static_cast<std::int32_t>(IntIn(v, -1, 1000));
  } else {
    return false;
  }
  return true;
}

bool IsBound(std::string_view path) {
  return path == "Left" || path == "Top" || path == "Width" || path == "Height";
}

// A name read from the file, as the UTF-8 of a message (the file's texts are Windows-1251).
std::string Readable(std::string_view cp1251) { return FromCp(cp1251).toStdString(); }

[[noreturn]] void NoProperty(std::string_view path) {
  throw FormError("Property " + Readable(path) + " does not exist");
}

class TreeReader {
 public:
  explicit TreeReader(std::string_view stream) : in_(stream) {}

  std::unique_ptr<TReport> Read() {
    auto report = std::make_unique<TReport>();
    const std::string cls = ObjectHead();
    if (cls != "TReport") throw FormError("Class " + Readable(cls) + " not found");
    in_.ShortText();  // the report's name
    ReadReportProperties(*report);
    while (in_.PeekByte() != 0) ReadBand(*report);
    in_.Byte();
    return report;
  }

 private:
  // The flags prefix, if any, and the class name.
  std::string ObjectHead() {
    const std::uint8_t first = in_.PeekByte();
    if ((first & 0xF0) == 0xF0) {
      in_.Byte();
      if (first & 0x02) {  // a child position follows
        if (in_.Value().kind != FormValue::Kind::Int) throw FormError(kInvalidStreamFormat);
      }
    }
    return in_.ShortText();
  }

  template <typename Apply>
  void Properties(Apply apply) {
    while (in_.PeekByte() != 0) {
      const std::string path = in_.ShortText();
      const FormValue value = in_.Value();
      apply(path, value);
    }
    in_.Byte();
  }

  void ReadReportProperties(TReport& report) {
    std::optional<PaperSize> paper;
    std::optional<Orientation> orientation;
    std::optional<std::vector<double>> values;
    Properties([&](const std::string& path, const FormValue& v) {
      if (ApplyFont(report.Font, path, v) || ApplyFrame(report.Frame, path, v) || IsBound(path)) {
        if (IsBound(path)) IntIn(v, INT32_MIN, INT32_MAX);
      } else if (path == "Page.PaperSize") {
        paper = PaperSizeFromIdent(Ident(v));
        if (!paper) BadValue();
      } else if (path == "Page.Orientation") {
        orientation = OrientationFromIdent(Ident(v));
        if (!orientation) BadValue();
      } else if (path == "Page.Columns") {
        report.Page.SetColumns(static_cast<int>(IntIn(v, 1, kMaxColumns)));
      } else if (path == "Page.Values") {
        values = Measures(v, TRepPage::kValueCount);
      } else if (path == "ReportTitle") {
        report.ReportTitle = Text(v);
      } else {
        NoProperty(path);
      }
    });
    // The paper gives the page's size; the stored measures, when present, have the last word.
    if (orientation) report.Page.SetOrientation(*orientation);
    if (paper) report.Page.SetPaperSize(*paper);
    if (values) {
      TRepPage::Values all{};
      std::transform(values->begin(), values->end(), all.begin(), NonNegative);
      if (all[TRepPage::kWidth] <= 0 || all[TRepPage::kLength] <= 0) BadValue();
      report.Page.SetAllValues(all);
    }
  }

  void ReadBand(TReport& report) {
    const std::string cls = ObjectHead();
    if (cls != "TRepBand") {
      if (cls == "TRepLabel" || cls == "TRepPrnLabel" || cls == "TReport") {
        throw FormError(kInvalidStreamFormat);
      }
      throw FormError("Class " + Readable(cls) + " not found");
    }
    if (report.HasDetail()) throw FormError(kInvalidStreamFormat);  // one detail band only
    TRepBand& band = report.CreateBand(FromCp(in_.ShortText()));
    Properties([&](const std::string& path, const FormValue& v) {
      if (ApplyFont(band.Font, path, v) || ApplyFrame(band.Frame, path, v)) return;
      if (IsBound(path)) {
        IntIn(v, INT32_MIN, INT32_MAX);
      } else if (path == "BandType") {
        if (Ident(v) != "rbDetail") BadValue();
      } else if (path == "Size.Values") {
        band.HeightTenths = NonNegative(Measures(v, 2)[0]);
      } else {
        NoProperty(path);
      }
    });
    while (in_.PeekByte() != 0) ReadLabel(band);
    in_.Byte();
  }

  void ReadLabel(TRepBand& band) {
    const std::string cls = ObjectHead();
    std::unique_ptr<TRepLabel> label;
    if (cls == "TRepPrnLabel") {
      label = std::make_unique<TRepPrnLabel>();
    } else if (cls == "TRepLabel") {
      label = std::make_unique<TRepLabel>();
    } else if (cls == "TRepBand" || cls == "TReport") {
      throw FormError(kInvalidStreamFormat);
    } else {
      throw FormError("Class " + Readable(cls) + " not found");
    }
    label->Name = FromCp(in_.ShortText());
    int bounds[4] = {0, 0, 0, 0};  // Left, Top, Width, Height in pixels
    const int maxPixels = TenthsToPixels(kMaxMeasureTenths);
    bool hasMeasures = false;
    Properties([&](const std::string& path, const FormValue& v) {
      if (ApplyFont(label->Font, path, v) || ApplyFrame(label->Frame, path, v)) return;
      constexpr std::string_view kBounds[4] = {"Left", "Top", "Width", "Height"};
      for (int i = 0; i < 4; ++i) {
        if (path == kBounds[i]) {
          bounds[i] = static_cast<int>(IntIn(v, -maxPixels, maxPixels));
          return;
        }
      }
      if (path == "Size.Values") {
        const auto m = Measures(v, 4);
        label->Size = {NonNegative(m[0]), m[1], m[2], NonNegative(m[3])};
        hasMeasures = true;
      } else if (path == "AutoSize") {
        label->AutoSize = Bool(v);
      } else if (path == "Caption") {
        label->Caption = Text(v);
      } else {
        NoProperty(path);
      }
    });
    if (!hasMeasures) {
      label->SetBounds(bounds[0], bounds[1], std::max(bounds[2], 0), std::max(bounds[3], 0));
    }
    if (in_.Byte() != 0) throw FormError(kInvalidStreamFormat);  // labels hold no children
    band.AddLabel(std::move(label));
  }

  FormStreamReader in_;
};

}  // namespace

std::string WriteFormBytes(const TReport& report) {
  FormStreamWriter w;
  w.Byte(0xFF);
  PutU16(w.bytes(), kResourceType);
  w.bytes().append(kResourceName);
  w.Byte(0);
  PutU16(w.bytes(), kMemoryFlags);
  const std::size_t sizeAt = w.bytes().size();
  w.U32(0);
  const std::size_t streamAt = w.bytes().size();
  w.bytes().append(kSignature);
  WriteReport(w, report);
  std::string& out = w.bytes();
  const auto size = static_cast<std::uint32_t>(out.size() - streamAt);
  StoreU32(reinterpret_cast<std::uint8_t*>(&out[sizeAt]), size);
  return out;
}

std::unique_ptr<TReport> ReadFormBytes(std::string_view bytes) {
  if (bytes.size() < 2 || static_cast<std::uint8_t>(bytes[0]) != 0xFF ||
      bytes[1] != kResourceType) {
    throw FormError(kInvalidStreamFormat);
  }
  const std::string_view scan = bytes.substr(0, kHeaderScan);
  const std::size_t zero = scan.size() > 3 ? scan.find('\0', 3) : std::string_view::npos;
  if (zero == std::string_view::npos) throw FormError(kInvalidStreamFormat);
  const std::size_t streamAt = zero + 7;  // flags and size follow the name's zero
  if (bytes.size() < streamAt) throw FormError(kStreamReadError);
  const std::uint32_t size = LoadU32(AsBytes(&bytes[zero + 3]));
  if (size > bytes.size() - streamAt) throw FormError(kStreamReadError);
  const std::string_view stream = bytes.substr(streamAt, size);
  if (stream.substr(0, 4) != kSignature) throw FormError(kInvalidStreamFormat);
  return TreeReader(stream.substr(4)).Read();
}

std::unique_ptr<TReport> LoadFormFile(const std::string& path) {
  const auto bytes = ReadWholeFile(path);
  if (!bytes) throw FormError("Cannot open file \"" + path + "\"");
  return ReadFormBytes(*bytes);
}

void SaveFormFile(const std::string& path, const TReport& report) {
  const std::string failure = ReplaceUserFile(path, WriteFormBytes(report));
  if (!failure.empty()) throw FormError("Cannot create file \"" + path + "\".\n" + failure);
}

}  // namespace zorel
