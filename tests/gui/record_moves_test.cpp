// Moving records between list windows: Delete, Copy, Paste and dropping a dragged record.
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QLineEdit>
#include <QMimeData>
#include <QPlainTextEdit>

#include "shell/name_grid.h"
#include "shell/record_drag.h"
#include "shell_test_support.h"

namespace zorel {

using namespace test_support;

namespace {

// Sends the events of a drop onto a grid, as the platform would at the end of a drag; false
// when the grid refused the drag on its way in.
bool Drop(TMDIChild* target, const QMimeData& mime) {
  QWidget* viewport = Find<NameGrid>(target, "dgInfo")->viewport();
  const QPoint at(10, 5);
  QDragEnterEvent enter(at, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(viewport, &enter);
  QDragMoveEvent move(at, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(viewport, &move);
  QDropEvent drop(QPointF(at), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(viewport, &drop);
  return enter.isAccepted() && move.isAccepted() && drop.isAccepted();
}

struct Deletion {
  RecordList list;
  int row;
  RecordList left;
  QString atOnce, atIdle, status;  // the staff shown at once and at idle, the status line
};

struct DropCase {
  QString format;
  QByteArray data;
  QString base;  // the folder of the base the record comes from
  bool taken;
};

QByteArray BaseOf(const Shell& s) { return BaseIdentity(s.base.DbDir()); }

}  // namespace

class RecordMovesTest : public QObject {
  Q_OBJECT

 private slots:
  void CopyThenPasteInsertsOnceInAscendingPlace() {
    Shell s(NumberedBase(12));
    TMDIChild* source = s.Active();
    source->SetCurrentRow(7);
    s.Action("CopyItem")->trigger();

    TMDIChild* target = s.form->NewListWindow();
    target->SetSearchResult({2, 5, 9}, QStringLiteral("Поиск"));
    target->SetFileState(false, false);
    target->SetCurrentRow(1);
    s.Action("PasteItem")->trigger();
    QCOMPARE(target->Records(), (RecordList{2, 5, 7, 9}));
    QVERIFY(target->Modified());
    QCOMPARE(target->CurrentRow(), 1);
    QCOMPARE(s.form->StatusText(1), QStringLiteral("2/4"));
    s.Action("PasteItem")->trigger();
    QCOMPARE(target->Records(), (RecordList{2, 5, 7, 9}));
    QCOMPARE(s.form->RecordClipboard(), 7);
    QCOMPARE(source->Records().size(), 12u);
    // Into a list in a file's order it goes before the first larger number.
    target->SetSearchResult({5, 1, 9}, QStringLiteral("Поиск"));
    s.Action("PasteItem")->trigger();
    QCOMPARE(target->Records(), (RecordList{5, 1, 7, 9}));
  }

  // Delete takes the current record out; the row then holds the next record, whose details
  // show at once, or, past the end, nothing until the idle moment shows the new last row's.
  void DeleteRemovesTheCurrentRecordOnly_data() {
    QTest::addColumn<Deletion>("c");
    QTest::newRow("middle") << Deletion{{0, 1, 2}, 1, {0, 2}, "15", "15", "2/2"};
    QTest::newRow("last") << Deletion{{0, 1, 2}, 2, {0, 1}, "", "0", "2/2"};
    QTest::newRow("only") << Deletion{{0}, 0, {}, "", "", "1/0"};
  }
  void DeleteRemovesTheCurrentRecordOnly() {
    QFETCH(Deletion, c);
    Shell s;
    TMDIChild* w = s.Active();
    w->SetSearchResult(c.list, QStringLiteral("Поиск"));
    w->SetCurrentRow(c.row);
    s.Idle();
    s.Action("CutItem")->trigger();
    QCOMPARE(w->Records(), c.left);
    QVERIFY(w->Modified());
    QCOMPARE(Find<QLineEdit>(w, "ePeople")->text(), c.atOnce);
    s.Idle();
    QCOMPARE(Find<QLineEdit>(w, "ePeople")->text(), c.atIdle);
    QCOMPARE(s.form->StatusText(1), c.status);
  }

  // Delete fills no clipboard, so Paste cannot bring the record back; the record's edited
  // remark is stored.
  void DeleteLeavesTheClipboardAndKeepsAnEditedRemark() {
    Shell s;
    TMDIChild* w = s.Active();
    s.Action("CopyItem")->trigger();
    w->SetCurrentRow(1);
    s.Idle();
    Find<QPlainTextEdit>(w, "mRemark")->insertPlainText(QStringLiteral("note"));
    s.Action("CutItem")->trigger();
    QCOMPARE(s.base.dm().GetRemark(1), std::string("note"));
    QCOMPARE(s.form->RecordClipboard(), 0);
    s.Action("PasteItem")->trigger();
    QCOMPARE(w->Records(), (RecordList{0, 2}));
  }

  // A drop is taken only with the number of a record of this base, from this base; the window
  // it was dragged from keeps it.
  void DropsAreTakenOnlyWithARecordOfThisBase_data() {
    QTest::addColumn<DropCase>("c");
    const QString record = kRecordMimeType;
    QTest::newRow("a record") << DropCase{record, "2", "db", true};
    QTest::newRow("same folder, other spelling") << DropCase{record, "2", "lists/../db/.", true};
    QTest::newRow("another base") << DropCase{record, "2", "other", false};
    QTest::newRow("no base") << DropCase{record, "2", "", false};
    QTest::newRow("no record") << DropCase{record, "", "db", false};
    QTest::newRow("plain text") << DropCase{"text/plain", "1", "db", false};
    QTest::newRow("not a number") << DropCase{record, "x1", "db", false};
    QTest::newRow("negative") << DropCase{record, "-3", "db", false};
    QTest::newRow("outside the base") << DropCase{record, "3", "db", false};
  }
  void DropsAreTakenOnlyWithARecordOfThisBase() {
    QFETCH(DropCase, c);
    Shell s;
    // A second base beside the first, as another running copy of the program would have open.
    WriteDatabase(s.base.dir() / "other", NumberedBase(3));
    TMDIChild* source = s.Active();
    TMDIChild* w = s.form->NewListWindow();
    w->SetSearchResult({0}, QStringLiteral("Поиск"));
    w->SetFileState(false, false);
    QMimeData mime;
    mime.setData(c.format, c.data);
    if (!c.base.isEmpty()) {
      mime.setData(kRecordBaseMimeType, BaseIdentity(s.base.dir() / c.base.toStdString()));
    }
    Drop(w, mime);
    QCOMPARE(w->Records(), (c.taken ? RecordList{0, 2} : RecordList{0}));
    QCOMPARE(w->Modified(), c.taken);
    QCOMPARE(source->Records(), (RecordList{0, 1, 2}));
    QVERIFY(!source->Modified());
  }
  // A record pasted or dropped into its own window changes nothing, but the window asks to be
  // saved when it closes.
  void ARecordPutIntoItsOwnWindowMarksIt() {
    Shell s;
    TMDIChild* w = s.Active();
    QVERIFY(Drop(w, *MakeRecordMime(1, BaseOf(s))));
    s.Action("CopyItem")->trigger();
    s.Action("PasteItem")->trigger();
    QCOMPARE(w->Records(), (RecordList{0, 1, 2}));
    QVERIFY(w->Modified());
    s.Active()->parentWidget()->close();
    QCOMPARE(s.log->questions,
             QStringList{"Вы хотите сохранить изменения перед закрытием окна \"Вся база\""});
  }
};

}  // namespace zorel

ZOREL_GUI_TEST_MAIN(zorel::RecordMovesTest)
#include "record_moves_test.moc"
