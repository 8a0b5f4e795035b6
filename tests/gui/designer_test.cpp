// The form designer: snapping, the mark of a cut label, and the mouse and keys on a real surface.
#include <QSignalSpy>
#include <QTest>

#include "report/report.h"
#include "reportui/rep_designer.h"
#include "reportui/report_surface.h"

namespace zorel {

class DesignerTest : public QObject {
  Q_OBJECT

  // A report whose band holds one label at 10, 20, 100 x 30 pixels.
  struct Fixture {
    TReport report;
    ReportSurface surface;
    TRepDesigner designer;
    TRepLabel* label;
    Fixture() {
      TRepBand& band = report.CreateBand(QStringLiteral("RepBand1"));
      label = &band.AddLabel(std::make_unique<TRepPrnLabel>(QStringLiteral("a1")));
      label->SetBounds(10, 20, 100, 30);
      surface.SetReport(&report);
      surface.show();
      designer.SnapToGrid = false;
      designer.Attach(surface);
    }
    QPoint Band() const {
      const DragRect b = surface.BandRect();
      return {b.left, b.top};
    }
    QPoint InLabel() const { return Band() + QPoint(50, 35); }
    void Drag(QWidget* from, QPoint at, QPoint by) {
      QTest::mousePress(from, Qt::LeftButton, {}, at);
      const QPoint start = from->mapTo(&surface, at);
      QTest::mouseMove(&surface, start + by / 2);
      QTest::mouseMove(&surface, start + by);
      QTest::mouseRelease(&surface, Qt::LeftButton, {}, start + by);
    }
    QRect LabelRect() const {
      return {label->Left(), label->Top(), label->Width(), label->Height()};
    }
    QWidget* HandleWidget(int index) { return const_cast<TControlHandle*>(designer.Handle(index)); }
  };

 private slots:
  void SnapRoundsHalvesToEven() {
    QCOMPARE(SnapToGrid(12.6, GridUnit::Millimetres), 13.0);
    QCOMPARE(SnapToGrid(12.5, GridUnit::Millimetres), 12.0);
    QCOMPARE(SnapToGrid(13.5, GridUnit::Millimetres), 14.0);
    QCOMPARE(SnapToGrid(1.0126, GridUnit::Inches), 1.025);
    QCOMPARE(SnapToGrid(1.0125, GridUnit::Inches), 1.0);
  }

  // A word longer than its label is cut on paper; the surface marks the label with a red
  // corner and names it, judged by the text the label prints for the current record.
  void ALabelWhoseTextIsCutIsMarked() {
    Fixture f;
    f.label->Caption = QStringLiteral("Интернациональная");
    QString printed = QStringLiteral("ул. Мира");
    f.surface.printedText = [&printed](const TRepLabel&) { return printed; };
    const QPoint corner = f.Band() + QPoint(10 + 100 - 2, 20 + 30 - 2);
    auto marked = [&f, corner] {
      return f.surface.grab().toImage().pixelColor(corner) == QColor(0xD0, 0x10, 0x10);
    };
    QCOMPARE(f.surface.CutLabels(), QStringList());
    QVERIFY(!marked());
    printed = QStringLiteral("Интернациональная Интернациональная");
    f.label->SetBounds(10, 20, 60, 30);
    QCOMPARE(f.surface.CutLabels(), QStringList{QStringLiteral("a1")});
    const QPoint cutCorner = f.Band() + QPoint(10 + 60 - 2, 20 + 30 - 2);
    QCOMPARE(f.surface.grab().toImage().pixelColor(cutCorner), QColor(0xD0, 0x10, 0x10));
    f.label->SetBounds(10, 20, 300, 30);
    QCOMPARE(f.surface.CutLabels(), QStringList());
    f.label->SetBounds(10, 20, 300, 8);  // lower than one line
    QCOMPARE(f.surface.CutLabels(), QStringList{QStringLiteral("a1")});
  }

  void PressSelectsTheObjectUnderIt() {
    Fixture f;
    QSignalSpy selected(&f.designer, &TRepDesigner::SelectComponent);
    QTest::mouseClick(&f.surface, Qt::LeftButton, {}, f.InLabel());
    QCOMPARE(f.designer.Selection(), DesignObject::Label(f.label));
    QVERIFY(f.designer.Handle(8)->isVisible());
    QTest::mouseClick(&f.surface, Qt::LeftButton, {}, f.Band() + QPoint(300, 5));
    QCOMPARE(f.designer.Selection(), DesignObject::Band());
    // The page outside the band selects the report, and no handles show.
    QTest::mouseClick(&f.surface, Qt::LeftButton, {}, f.Band() + QPoint(5, 400));
    QCOMPARE(f.designer.Selection(), DesignObject::Report());
    QVERIFY(!f.designer.Handle(1)->isVisible());
    QCOMPARE(selected.count(), 3);
    // The right button selects nothing, and on a handle starts no drag.
    QTest::mouseClick(&f.surface, Qt::RightButton, {}, f.InLabel());
    QCOMPARE(f.designer.Selection(), DesignObject::Report());
    QTest::mouseClick(&f.surface, Qt::LeftButton, {}, f.InLabel());
    QTest::mousePress(f.HandleWidget(8), Qt::RightButton, {}, {2, 2});
    QVERIFY(!f.designer.Dragging());
    QTest::mouseRelease(f.HandleWidget(8), Qt::RightButton, {}, {2, 2});
  }

  void MovingKeepsTheSizeAndSnapsToWholeMillimetres() {
    Fixture f;
    QSignalSpy changed(&f.designer, &TRepDesigner::Changed);
    f.Drag(&f.surface, f.InLabel(), {30, 0});
    QCOMPARE(f.LabelRect(), QRect(40, 20, 100, 30));
    QCOMPARE(changed.count(), 1);
    QCOMPARE(f.designer.Handle(1)->pos(), f.Band() + QPoint(38, 18));
    // Snapped: 48 pixels are 12.7 mm and end at 13 mm.
    f.designer.SnapToGrid = true;
    f.Drag(&f.surface, f.InLabel() + QPoint(30, 0), {8, 0});
    QCOMPARE(f.label->Size.Left, 130.0);
  }

  // A move rounds both the left and the top, whichever changed, and a press without movement
  // rounds them too.
  void MoveSnapsLeftAndTop() {
    Fixture f;
    f.designer.SnapToGrid = true;
    // The click snaps the element to 3 mm, 5 mm; handle 1 dragged by 5, 5 leaves its top at
    // 24 pixels (6.35 mm), which a horizontal move rounds.
    QTest::mouseClick(&f.surface, Qt::LeftButton, {}, f.InLabel());
    f.Drag(f.HandleWidget(1), {2, 2}, {5, 5});
    QVERIFY(f.label->Size.Top != 60.0);
    f.Drag(&f.surface, f.InLabel(), {40, 0});
    QCOMPARE(f.label->Size.Top, 60.0);
    QCOMPARE(f.label->Size.Left, 150.0);  // 56 pixels are 14.8 mm
    f.label->Size.Left = 13;
    f.label->Size.Top = 57;
    QTest::mouseClick(&f.surface, Qt::LeftButton, {}, f.InLabel());
    QCOMPARE(f.label->Size.Left, 10.0);
    QCOMPARE(f.label->Size.Top, 60.0);
  }

  // Each handle, dragged by 15, 5, moves its own sides only.
  void HandleDragResizesTheElement_data() {
    QTest::addColumn<int>("handle");
    QTest::addColumn<QRect>("expected");
    QTest::newRow("top left") << 1 << QRect(25, 25, 85, 25);
    QTest::newRow("top") << 2 << QRect(10, 25, 100, 25);
    QTest::newRow("top right") << 3 << QRect(10, 25, 115, 25);
    QTest::newRow("left") << 4 << QRect(25, 20, 85, 30);
    QTest::newRow("right") << 5 << QRect(10, 20, 115, 30);
    QTest::newRow("bottom left") << 6 << QRect(25, 20, 85, 35);
    QTest::newRow("bottom") << 7 << QRect(10, 20, 100, 35);
    QTest::newRow("bottom right") << 8 << QRect(10, 20, 115, 35);
  }
  void HandleDragResizesTheElement() {
    QFETCH(int, handle);
    QFETCH(QRect, expected);
    Fixture f;
    QTest::mouseClick(&f.surface, Qt::LeftButton, {}, f.InLabel());
    f.Drag(f.HandleWidget(handle), {2, 2}, {15, 5});
    QCOMPARE(f.LabelRect(), expected);
    QVERIFY(!f.designer.Dragging());
    QVERIFY(f.designer.Handle(handle)->isVisible());
  }

  void BandChangesOnlyItsHeight() {
    Fixture f;
    const int height = f.surface.BandRect().Height();
    QTest::mouseClick(&f.surface, Qt::LeftButton, {}, f.Band() + QPoint(300, 5));
    QSignalSpy changed(&f.designer, &TRepDesigner::Changed);
    f.Drag(f.HandleWidget(5), {2, 2}, {40, 0});
    f.Drag(&f.surface, f.Band() + QPoint(300, 5), {25, 17});
    QCOMPARE(changed.count(), 0);
    f.Drag(f.HandleWidget(7), {2, 2}, {0, 12});
    QCOMPARE(f.surface.BandRect().Height(), height + 12);
    QCOMPARE(f.surface.BandRect().left, f.Band().x());
    QCOMPARE(changed.count(), 1);
  }

  // Arrows step one millimetre, with Shift resizing; Delete frees the selected label only.
  void KeysMoveResizeAndDelete() {
    Fixture f;
    f.surface.setFocus();
    QTest::keyClick(&f.surface, Qt::Key_Delete);  // the report: nothing
    QCOMPARE(f.report.DetailBand()->Labels().size(), 1u);
    QTest::mouseClick(&f.surface, Qt::LeftButton, {}, f.InLabel());
    const TRepLabel::Measures before = f.label->Size;
    QTest::keyClick(&f.surface, Qt::Key_Right);
    QTest::keyClick(&f.surface, Qt::Key_Down, Qt::ShiftModifier);
    QCOMPARE(f.label->Size.Left, before.Left + 10);
    QCOMPARE(f.label->Size.Height, before.Height + 10);
    QCOMPARE(f.label->Size.Width, before.Width);
    QTest::keyClick(&f.surface, Qt::Key_Delete);
    QVERIFY(f.report.DetailBand()->Labels().empty());
    QCOMPARE(f.designer.Selection(), DesignObject::Report());
  }
};

}  // namespace zorel

QTEST_MAIN(zorel::DesignerTest)
#include "designer_test.moc"
