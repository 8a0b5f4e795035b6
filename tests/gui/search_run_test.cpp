// What a search command does after its dialog: the caption of the new list window, the filter.
#include "search/search_run.h"

#include <QTest>
#include <memory>

#include "data/data_module.h"
#include "support/open_base.h"
#include "support/sample_base.h"

namespace zorel {

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

  // What each kind finds is the dialogs' test; a request without keys finds nothing.
  void ARequestWithoutKeysFindsNothing() {
    test_support::OpenBase base(test_support::SampleBase());
    QCOMPARE(RunSearch(base.dm(), {2, 0, 1}, SearchRequest{SearchKind::Branches, {}, {}}),
             RecordList{});
  }
};

}  // namespace zorel

QTEST_GUILESS_MAIN(zorel::SearchRunTest)
#include "search_run_test.moc"
