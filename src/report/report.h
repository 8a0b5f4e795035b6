// The report object tree of a print form: TReport with its page, one detail band TRepBand and
// the band's labels (TRepLabel, and TRepPrnLabel whose text comes from the report's label
// text supplier when it prints). Measures are tenths of a millimetre; the pixel bounds of the
// design surface (96 pixels per inch at 100 %) are derived from them. No widgets: the
// command-line tool and the tests build, read and print forms without a window.
//
// The report owns its band and the band its labels; pointers to them stay valid until they
// are removed or the report is destroyed.
#pragma once

#include <QString>
#include <functional>
#include <memory>
#include <string_view>
#include <vector>

#include "report/rep_page.h"
#include "report/rep_style.h"

namespace zorel {

class TReport;
class TRepBand;

// Design-surface pixels (96 per inch) and tenths of a millimetre.
int TenthsToPixels(double tenths);
double PixelsToTenths(int pixels);

// The largest measure a form file holds, in tenths of a millimetre (ten metres). Nothing clamps
// a move in the designer, so a label may also lie left of or above its band by as much.
inline constexpr double kMaxMeasureTenths = 100000;

class TRepLabel {
 public:
  // Called while the label prints, with its caption as value; the printed text is what it
  // leaves in value.
  using PrintHook = std::function<void(const TRepLabel& label, QString& value)>;

  // The form file's Size.Values of a label, in tenths of a millimetre, relative to the band.
  struct Measures {
    double Height = 0, Left = 0, Top = 0, Width = 0;
    bool operator==(const Measures&) const = default;
  };

  explicit TRepLabel(QString name = {});
  virtual ~TRepLabel() = default;
  TRepLabel(const TRepLabel&) = delete;
  TRepLabel& operator=(const TRepLabel&) = delete;

  virtual std::string_view ClassName() const { return "TRepLabel"; }

  QString Name;
  QString Caption;
  ReportFont Font;
  TRepFrame Frame;
  bool AutoSize = false;
  PrintHook OnPrint;
  Measures Size;

  // Size kept within what a form file holds: left and top at most kMaxMeasureTenths from
  // the band's corner either way, width and height from 0 to kMaxMeasureTenths.
  void KeepWithinFileBounds();

  // Pixel bounds on the design surface, relative to the band.
  int Left() const { return TenthsToPixels(Size.Left); }
  int Top() const { return TenthsToPixels(Size.Top); }
  int Width() const { return TenthsToPixels(Size.Width); }
  int Height() const { return TenthsToPixels(Size.Height); }
  void SetBounds(int left, int top, int width, int height);

  TRepBand* Parent() const { return parent_; }
  TReport* Report() const;

 private:
  friend class TRepBand;
  TRepBand* parent_ = nullptr;
};

// The label class of print forms: its print hook asks the report's label text supplier.
class TRepPrnLabel : public TRepLabel {
 public:
  explicit TRepPrnLabel(QString name = {});
  std::string_view ClassName() const override { return "TRepPrnLabel"; }
};

enum class BandType { Detail };

class TRepBand {
 public:
  explicit TRepBand(QString name = {}) : Name(std::move(name)) {}
  TRepBand(const TRepBand&) = delete;
  TRepBand& operator=(const TRepBand&) = delete;

  QString Name;
  TRepFrame Frame;
  ReportFont Font;
  BandType Type = BandType::Detail;
  double HeightTenths = 300;

  double Height() const { return HeightTenths / 10; }  // millimetres, Size.Height
  void SetHeight(double mm) { HeightTenths = mm * 10; }

  // Labels in their order on the band.
  const std::vector<std::unique_ptr<TRepLabel>>& Labels() const { return labels_; }
  TRepLabel& AddLabel(std::unique_ptr<TRepLabel> label);
  // Frees the label; false when it is not on this band.
  bool RemoveLabel(const TRepLabel* label);

  TReport* Parent() const { return parent_; }

 private:
  friend class TReport;
  TReport* parent_ = nullptr;
  std::vector<std::unique_ptr<TRepLabel>> labels_;
};

class TReport {
 public:
  // Called once before a run; a false flag cancels it.
  using BeforePrintHook = std::function<void(TReport& sender, bool& printReport)>;
  // Called before each detail band; the band prints when the flag comes back true, and the
  // run ends at the first false.
  using NeedDataHook = std::function<void(TReport& sender, bool& moreData)>;

  TReport() = default;
  TReport(const TReport&) = delete;
  TReport& operator=(const TReport&) = delete;

  TRepFrame Frame;
  ReportFont Font;
  TRepPage Page;
  QString ReportTitle;
  BeforePrintHook BeforePrint;
  NeedDataHook OnNeedData;
  // What a TRepPrnLabel prints: given the label and its caption as value.
  TRepLabel::PrintHook SupplyLabelText;

  bool HasDetail() const { return band_ != nullptr; }
  TRepBand* DetailBand() const { return band_.get(); }
  // Replaces any band by a new empty detail band named name.
  TRepBand& CreateBand(QString name);
  void RemoveBand() { band_.reset(); }

  // Whether the report or anything it owns has that name, compared without regard to case.
  bool HasComponentNamed(const QString& name) const;
  // The print field letter followed by the smallest n >= 1 that no component has yet.
  QString UniqueElementName(QChar letter) const;

 private:
  std::unique_ptr<TRepBand> band_;
};

}  // namespace zorel
