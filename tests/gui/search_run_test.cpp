// What a search command does after its dialog: the captions of the new list window and the
// filtering of a copy of the source list.
#include "search/search_run.h"

#include <QTest>
#include <memory>

#include "data/data_module.h"
#include "support/open_base.h"
#include "support/sample_base.h"

namespace zorel {

using test_support::W;

class SearchRunTest : public QObject {
  Q_OBJECT

 private slots:
  void CaptionsNameTheSearchAndItsTime_data() {
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("caption");
    QTest::newRow("requisites") << int(SearchKind::Requisites) << "Поиск (05.03.2024 07:08:09)";
    QTest::newRow("products") << int(SearchKind::Products)
                              << "Поиск по продукции (05.03.2024 07:08:09)";
    QTest::newRow("branches") << int(SearchKind::Branches)
                              << "Поиск по рубрикатору (05.03.2024 07:08:09)";
  }
  void CaptionsNameTheSearchAndItsTime() {
    QFETCH(int, kind);
    QFETCH(QString, caption);
    const QDateTime when(QDate(2024, 3, 5), QTime(7, 8, 9));
    QCOMPARE(SearchCaption(SearchKind(kind), when), caption);
  }

  void FiltersACopyOfTheSource() {
    test_support::OpenBase base(test_support::SampleBase());
    const RecordList source = {2, 0, 1};
    SearchRequest byName;
    byName.conditions = {{"0", "1", "0", W("комбинат"), "0"}, {}};
    QCOMPARE(RunSearch(base.dm(), source, byName), RecordList{1});
    SearchRequest byProduct{SearchKind::Products, {}, {{0, 5}}};
    QCOMPARE(RunSearch(base.dm(), source, byProduct), RecordList{1});
    SearchRequest none{SearchKind::Branches, {}, {}};
    QCOMPARE(RunSearch(base.dm(), source, none), RecordList{});
    QCOMPARE(source, (RecordList{2, 0, 1}));
  }
};

}  // namespace zorel

QTEST_GUILESS_MAIN(zorel::SearchRunTest)
#include "search_run_test.moc"
