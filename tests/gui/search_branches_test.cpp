// The branch search dialog as a user meets it: the tree loaded one level at a time, its
// pictures and order, the chosen values (the same tree item once, the same text from another
// branch again), the key list of the chosen branches, and a search driven to the same records
// MatchProducts gives.
#include "search/search_branches.h"

#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QToolButton>
#include <QTreeWidget>
#include <memory>

#include "data/data_module.h"
#include "data/matcher.h"
#include "search/class_tree.h"
#include "support/open_base.h"
#include "support/sample_base.h"

namespace zorel {

using test_support::OpenBase;
using test_support::W;

namespace {

constexpr int kFillers = 300;

// The sample classification, a "болт м12" also under "гайка" (id 9), and a branch "прочее"
// with 300 leaves so that a scan passes 250 entries.
BaseSource BranchesBase() {
  BaseSource base = test_support::SampleBase();
  base.classes.push_back({9, 3, {2, 5, 0, 0, 0}, 1, 2});
  base.items.push_back(W("прочее"));  // item 9 (1-based)
  base.classes.push_back({99, 9, {3, 0, 0, 0, 0}, 2, 1});
  for (std::uint32_t i = 0; i < kFillers; ++i) {
    base.items.push_back(W("деталь " + std::to_string(i)));
    base.classes.push_back({100 + i, 10 + i, {3, i + 1, 0, 0, 0}, 1, 1});
  }
  return base;
}

struct Controls {
  explicit Controls(TfrmSearchClass& d)
      : tree(d.findChild<QTreeWidget*>("tvClass")),
        values(d.findChild<QListWidget*>("lbValue")),
        add(d.findChild<QToolButton*>("sbAdd")),
        remove(d.findChild<QToolButton*>("sbRemove")),
        removeAll(d.findChild<QToolButton*>("sbRemoveAll")),
        progress(d.findChild<QLabel*>("lCnt")),
        processed(d.findChild<QLabel*>("lProcessed")),
        inList(d.findChild<QPushButton*>("bbSearchInList")),
        inBase(d.findChild<QPushButton*>("bbSearchInBD")) {}

  static QStringList Captions(QTreeWidgetItem* item) {
    QStringList texts;
    for (int i = 0; i < item->childCount(); ++i) texts << item->child(i)->text(0);
    return texts;
  }
  // The child of item with this caption, expanded.
  static QTreeWidgetItem* Open(QTreeWidgetItem* item, const QString& caption) {
    for (int i = 0; i < item->childCount(); ++i) {
      if (item->child(i)->text(0) == caption) {
        item->child(i)->setExpanded(true);
        return item->child(i);
      }
    }
    return nullptr;
  }
  void Choose(QTreeWidgetItem* item) const {
    tree->setCurrentItem(item);
    add->click();
  }
  QStringList Values() const {
    QStringList texts;
    for (int i = 0; i < values->count(); ++i) texts << values->item(i)->text();
    return texts;
  }

  QTreeWidget* tree;
  QListWidget* values;
  QToolButton* add;
  QToolButton* remove;
  QToolButton* removeAll;
  QLabel* progress;
  QLabel* processed;
  QPushButton* inList;
  QPushButton* inBase;
};

int Image(QTreeWidgetItem* item) { return AsClassItem(item)->Image(); }

}  // namespace

class SearchBranchesTest : public QObject {
  Q_OBJECT

 private:
  std::unique_ptr<OpenBase> base_;
  Tdm& dm() { return base_->dm(); }

 private slots:
  void initTestCase() { base_ = std::make_unique<OpenBase>(BranchesBase()); }
  void cleanupTestCase() { base_.reset(); }

  void StartsWithTheRootAndItsPlaceholder() {
    TfrmSearchClass dialog(dm());
    const Controls c(dialog);
    QVERIFY(dialog.windowState() & Qt::WindowMaximized);
    QCOMPARE(c.tree->topLevelItemCount(), 1);
    QTreeWidgetItem* root = c.tree->topLevelItem(0);
    QCOMPARE(root->text(0), QString("Весь список"));
    QCOMPARE(Image(root), kFolderImage);
    QCOMPARE(root->childCount(), 1);
    QVERIFY(AsClassItem(root->child(0)) == nullptr);
    QVERIFY(!dialog.Root()->info.loaded);
    for (QToolButton* b : {c.add, c.remove, c.removeAll}) QVERIFY(!b->isEnabled());
    QVERIFY(c.inBase->isHidden());
    QVERIFY(c.inList->isHidden());
    QVERIFY(dialog.Keys().empty());
  }

  void ExpandingLoadsSortedChildrenWithPictures() {
    TfrmSearchClass dialog(dm());
    const Controls c(dialog);
    QTreeWidgetItem* root = c.tree->topLevelItem(0);
    root->setExpanded(true);
    QCOMPARE(Controls::Captions(root), (QStringList{"гайка", "прочее", "Станки"}));
    for (int i = 0; i < 3; ++i) {
      QCOMPARE(Image(root->child(i)), kFolderImage);
      QCOMPARE(root->child(i)->childCount(), 1);  // placeholder
    }
    QVERIFY(dialog.Root()->info.loaded);
    QCOMPARE(c.progress->text(), QString());
    QCOMPARE(c.processed->text(), QString("250"));
    // The hidden «цемент» (count 0) is not shown; «1С-программа» is a leaf.
    QTreeWidgetItem* nut = Controls::Open(root, "гайка");
    QCOMPARE(Controls::Captions(nut), (QStringList{"1С-программа", "болт м12"}));
    for (int i = 0; i < 2; ++i) {
      QCOMPARE(Image(nut->child(i)), kLeafImage);
      QCOMPARE(nut->child(i)->childCount(), 0);
      QCOMPARE(nut->child(i)->childIndicatorPolicy(),
               QTreeWidgetItem::DontShowIndicatorWhenChildless);
    }
    QTreeWidgetItem* rest = Controls::Open(root, "прочее");
    QCOMPARE(rest->childCount(), kFillers);
  }

  void ExpandingAgainDoesNotRescan() {
    TfrmSearchClass dialog(dm());
    const Controls c(dialog);
    QTreeWidgetItem* root = c.tree->topLevelItem(0);
    root->setExpanded(true);
    QCOMPARE(c.processed->text(), QString("250"));
    QTreeWidgetItem* first = root->child(0);
    c.processed->clear();
    root->setExpanded(false);
    root->setExpanded(true);
    QCOMPARE(c.processed->text(), QString());
    QCOMPARE(root->childCount(), 3);
    QCOMPARE(root->child(0), first);
  }

  void TheSameItemIsChosenOnceButTheSameTextFromAnotherBranchAgain() {
    TfrmSearchClass dialog(dm());
    const Controls c(dialog);
    QTreeWidgetItem* root = c.tree->topLevelItem(0);
    root->setExpanded(true);
    QVERIFY(!c.add->isEnabled());
    QTreeWidgetItem* machines = Controls::Open(root, "Станки");
    c.tree->setCurrentItem(machines);
    QVERIFY(c.add->isEnabled());
    c.add->click();
    c.add->click();
    QCOMPARE(c.Values(), QStringList{"пр-во - Станки"});
    QTreeWidgetItem* boltInMachines =
        Controls::Open(Controls::Open(machines, "станок токарный"), "болт м12");
    QTreeWidgetItem* boltInNuts = Controls::Open(Controls::Open(root, "гайка"), "болт м12");
    c.Choose(boltInMachines);
    c.Choose(boltInNuts);
    c.Choose(boltInNuts);
    c.Choose(boltInMachines);
    QCOMPARE(c.Values(), (QStringList{"опт - болт м12", "опт - болт м12", "пр-во - Станки"}));
    QSet<ClassTreeItem*> nodes;
    for (int i = 0; i < c.values->count(); ++i) {
      nodes << static_cast<ChosenValueItem*>(c.values->item(i))->Node();
    }
    QCOMPARE(nodes, (QSet<ClassTreeItem*>{AsClassItem(machines), AsClassItem(boltInMachines),
                                          AsClassItem(boltInNuts)}));
    QVERIFY(!c.inBase->isHidden());
    QVERIFY(!c.inList->isHidden());
  }

  void RemovingFollowsTheListButtonRule() {
    TfrmSearchClass dialog(dm());
    const Controls c(dialog);
    QTreeWidgetItem* root = c.tree->topLevelItem(0);
    root->setExpanded(true);
    c.Choose(root->child(0));
    c.Choose(root->child(1));
    QVERIFY(c.removeAll->isEnabled());
    QVERIFY(!c.remove->isEnabled());
    QCOMPARE(c.Values(), (QStringList{"пр-во - прочее", "торг - гайка"}));  // sorted
    c.values->setCurrentRow(0);
    QVERIFY(c.remove->isEnabled());
    c.remove->click();
    QCOMPARE(c.Values(), QStringList{"торг - гайка"});
    QVERIFY(!c.remove->isEnabled());
    QVERIFY(!c.inBase->isHidden());
    c.removeAll->click();
    QCOMPARE(c.values->count(), 0);
    QVERIFY(!c.removeAll->isEnabled());
    QVERIFY(c.inBase->isHidden());
    QVERIFY(c.inList->isHidden());
  }

  // Which keys a choice stands for is the classification's test; here the dialog's request.
  void SearchGivesWhatMatchProductsGives() {
    TfrmSearchClass dialog(dm());
    const Controls c(dialog);
    QTreeWidgetItem* root = c.tree->topLevelItem(0);
    root->setExpanded(true);
    QTreeWidgetItem* machines = Controls::Open(root, "Станки");
    c.Choose(machines);
    dialog.show();
    c.inBase->click();
    QCOMPARE(dialog.result(), kSearchInBase);
    const SearchRequest request = dialog.Request();
    QCOMPARE(request.kind, SearchKind::Branches);
    QCOMPARE(request.keys, (std::vector<ProductKey>{{1, 0}, {1, 1}, {2, 2}, {2, 3}, {1, 4}}));
    RecordList byCore = WholeBaseList(dm().RecordCount());
    MatchProducts(dm(), byCore, request.keys);
    const RecordList found = RunSearch(dm(), WholeBaseList(dm().RecordCount()), request);
    QCOMPARE(found, byCore);
    QCOMPARE(found, (RecordList{0}));

    // Reopened: the chosen value and the loaded branch are still there.
    dialog.show();
    QCOMPARE(c.Values(), QStringList{"пр-во - Станки"});
    QVERIFY(AsClassItem(machines)->info.loaded);
    c.Choose(Controls::Open(root, "гайка"));
    c.inList->click();
    QCOMPARE(dialog.result(), kSearchInList);
    const RecordList source = {2, 1, 0};
    byCore = source;
    MatchProducts(dm(), byCore, dialog.Keys());
    QCOMPARE(RunSearch(dm(), source, dialog.Request()), byCore);
    QCOMPARE(byCore, (RecordList{1, 0}));
  }
};

}  // namespace zorel

QTEST_MAIN(zorel::SearchBranchesTest)
#include "search_branches_test.moc"
