// Moving records between list windows: Delete, Copy, Paste and dropping a dragged record.
#include <QAction>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QLineEdit>
#include <QMimeData>
#include <QPlainTextEdit>

#include "shell/name_grid.h"
#include "shell/record_drag.h"
#include "shell_test_support.h"

namespace zorel {

using test_support::Find;
using test_support::Shell;

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

QByteArray BaseOf(const Shell& s) { return BaseIdentity(s.base.DbDir()); }

}  // namespace

class RecordMovesTest : public QObject {
  Q_OBJECT

 private slots:
  void CopyThenPasteInsertsOnceInAscendingPlace() {
    Shell s(test_support::NumberedBase(12));
    TMDIChild* source = s.Active();
    source->SetCurrentRow(7);
    s.Action("CopyItem")->trigger();
    QCOMPARE(s.form->RecordClipboard(), 7);

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
    QTest::addColumn<RecordList>("list");
    QTest::addColumn<int>("row");
    QTest::addColumn<RecordList>("left");
    QTest::addColumn<QString>("atOnce");
    QTest::addColumn<QString>("atIdle");
    QTest::addColumn<QString>("status");
    const auto row = [](const char* name, RecordList list, int at, RecordList left,
                        const char* atOnce, const char* atIdle, const char* status) {
      QTest::newRow(name) << list << at << left << QString(atOnce) << QString(atIdle)
                          << QString(status);
    };
    row("middle", {0, 1, 2}, 1, {0, 2}, "15", "15", "2/2");
    row("last", {0, 1, 2}, 2, {0, 1}, "", "0", "2/2");
    row("only", {0}, 0, {}, "", "", "1/0");
  }
  void DeleteRemovesTheCurrentRecordOnly() {
    QFETCH(RecordList, list);
    QFETCH(int, row);
    QFETCH(RecordList, left);
    QFETCH(QString, atOnce);
    QFETCH(QString, atIdle);
    QFETCH(QString, status);
    Shell s;
    TMDIChild* w = s.Active();
    w->SetSearchResult(list, QStringLiteral("Поиск"));
    w->SetCurrentRow(row);
    s.Idle();
    s.Action("CutItem")->trigger();
    QCOMPARE(w->Records(), left);
    QVERIFY(w->Modified());
    QCOMPARE(Find<QLineEdit>(w, "ePeople")->text(), atOnce);
    s.Idle();
    QCOMPARE(Find<QLineEdit>(w, "ePeople")->text(), atIdle);
    QCOMPARE(s.form->StatusText(1), status);
  }

  // Delete fills no clipboard, so Paste cannot bring the record back.
  void DeleteLeavesTheClipboard() {
    Shell s;
    TMDIChild* w = s.Active();
    s.Action("CopyItem")->trigger();
    w->SetCurrentRow(1);
    s.Action("CutItem")->trigger();
    QCOMPARE(s.form->RecordClipboard(), 0);
    s.Action("PasteItem")->trigger();
    QCOMPARE(w->Records(), (RecordList{0, 2}));
  }

  void AnEditedRemarkSurvivesTheDeleteOfItsRecord() {
    Shell s;
    TMDIChild* w = s.Active();
    s.Idle();
    Find<QPlainTextEdit>(w, "mRemark")->insertPlainText(QStringLiteral("note"));
    s.Action("CutItem")->trigger();
    QCOMPARE(s.base.dm().GetRemark(0), std::string("note"));
  }

  // A drop is taken only with the number of a record of this base, from this base; the window
  // it was dragged from keeps it.
  void DropsAreTakenOnlyWithARecordOfThisBase_data() {
    QTest::addColumn<QString>("format");
    QTest::addColumn<QByteArray>("data");
    QTest::addColumn<QString>("base");
    QTest::addColumn<bool>("taken");
    const QString record = kRecordMimeType;
    QTest::newRow("a record") << record << QByteArray("2") << "db" << true;
    QTest::newRow("same folder, other spelling")
        << record << QByteArray("2") << "lists/../db/." << true;
    QTest::newRow("another base") << record << QByteArray("2") << "other" << false;
    QTest::newRow("no base") << record << QByteArray("2") << "" << false;
    QTest::newRow("no record") << record << QByteArray() << "db" << false;
    QTest::newRow("plain text") << QStringLiteral("text/plain") << QByteArray("1") << "db" << false;
    QTest::newRow("not a number") << record << QByteArray("x1") << "db" << false;
    QTest::newRow("negative") << record << QByteArray("-3") << "db" << false;
    QTest::newRow("outside the base") << record << QByteArray("3") << "db" << false;
  }
  void DropsAreTakenOnlyWithARecordOfThisBase() {
    QFETCH(QString, format);
    QFETCH(QByteArray, data);
    QFETCH(QString, base);
    QFETCH(bool, taken);
    Shell s;
    // A second base beside the first, as another running copy of the program would have open.
    WriteDatabase(s.base.dir() / "other", test_support::NumberedBase(3));
    TMDIChild* source = s.Active();
    TMDIChild* w = s.form->NewListWindow();
    w->SetSearchResult({0}, QStringLiteral("Поиск"));
    w->SetFileState(false, false);
    QMimeData mime;
    mime.setData(format, data);
    if (!base.isEmpty()) {
      mime.setData(kRecordBaseMimeType, BaseIdentity(s.base.dir() / base.toStdString()));
    }
    Drop(w, mime);
    QCOMPARE(w->Records(), (taken ? RecordList{0, 2} : RecordList{0}));
    QCOMPARE(w->Modified(), taken);
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
