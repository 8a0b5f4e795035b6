// The branch search dialog: the tree loaded a level at a time, the chosen values, the request.
#include "search/search_branches.h"

#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QToolButton>
#include <QTreeWidget>

#include "data/data_module.h"
#include "search/class_tree.h"
#include "support/open_base.h"
#include "support/sample_base.h"

namespace zorel {

using namespace test_support;

namespace {

constexpr int kFillers = 300;

// The sample classification, a "болт м12" also under "гайка" (id 9), and a branch "прочее"
// with 300 leaves so that a scan passes 250 entries.
BaseSource BranchesBase() {
  BaseSource base = SampleBase();
  base.classes.push_back({9, 3, {2, 5, 0, 0, 0}, 1, 2});
  base.items.push_back(W("прочее"));  // item 9 (1-based)
  base.classes.push_back({99, 9, {3, 0, 0, 0, 0}, 2, 1});
  for (std::uint32_t i = 0; i < kFillers; ++i) {
    base.items.push_back(W("деталь " + std::to_string(i)));
    base.classes.push_back({100 + i, 10 + i, {3, i + 1, 0, 0, 0}, 1, 1});
  }
  return base;
}

// The dialog with its controls at hand.
struct Dialog : TfrmSearchClass {
  using TfrmSearchClass::TfrmSearchClass;
  QTreeWidget* tree = findChild<QTreeWidget*>("tvClass");
  QListWidget* values = findChild<QListWidget*>("lbValue");
  QToolButton* add = findChild<QToolButton*>("sbAdd");
  QToolButton* remove = findChild<QToolButton*>("sbRemove");
  QToolButton* removeAll = findChild<QToolButton*>("sbRemoveAll");
  QLabel* processed = findChild<QLabel*>("lProcessed");
  QPushButton* inList = findChild<QPushButton*>("bbSearchInList");
  QPushButton* inBase = findChild<QPushButton*>("bbSearchInBD");

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

  QTreeWidgetItem* ExpandedRoot() const {
    tree->topLevelItem(0)->setExpanded(true);
    return tree->topLevelItem(0);
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
};

int Image(QTreeWidgetItem* item) { return AsClassItem(item)->Image(); }

}  // namespace

class SearchBranchesTest : public QObject {
  Q_OBJECT

 private:
  OpenBase base_{BranchesBase()};
  Tdm& dm() { return base_.dm(); }

 private slots:
  void ExpandingLoadsSortedChildrenWithPictures() {
    Dialog d(dm());
    QCOMPARE(d.tree->topLevelItemCount(), 1);
    QTreeWidgetItem* root = d.tree->topLevelItem(0);
    QVERIFY(!d.Root()->info.loaded);
    root->setExpanded(true);
    QCOMPARE(Dialog::Captions(root), (QStringList{"гайка", "прочее", "Станки"}));
    for (int i = 0; i < 3; ++i) {
      QCOMPARE(Image(root->child(i)), kFolderImage);
      QCOMPARE(root->child(i)->childCount(), 1);  // placeholder
    }
    QVERIFY(d.Root()->info.loaded);
    QCOMPARE(d.processed->text(), QString("250"));
    // Expanded again, the branch is not scanned again.
    QTreeWidgetItem* first = root->child(0);
    d.processed->clear();
    root->setExpanded(false);
    root->setExpanded(true);
    QCOMPARE(d.processed->text(), QString());
    QCOMPARE(root->child(0), first);
    // The hidden «цемент» (count 0) is not shown; «1С-программа» is a leaf.
    QTreeWidgetItem* nut = Dialog::Open(root, "гайка");
    QCOMPARE(Dialog::Captions(nut), (QStringList{"1С-программа", "болт м12"}));
    for (int i = 0; i < 2; ++i) {
      QCOMPARE(Image(nut->child(i)), kLeafImage);
      QCOMPARE(nut->child(i)->childCount(), 0);
      QCOMPARE(nut->child(i)->childIndicatorPolicy(),
               QTreeWidgetItem::DontShowIndicatorWhenChildless);
    }
    QTreeWidgetItem* rest = Dialog::Open(root, "прочее");
    QCOMPARE(rest->childCount(), kFillers);
  }

  void TheSameItemIsChosenOnceButTheSameTextFromAnotherBranchAgain() {
    Dialog d(dm());
    QTreeWidgetItem* root = d.ExpandedRoot();
    QVERIFY(!d.add->isEnabled());
    QTreeWidgetItem* machines = Dialog::Open(root, "Станки");
    d.tree->setCurrentItem(machines);
    QVERIFY(d.add->isEnabled());
    d.add->click();
    d.add->click();
    QCOMPARE(d.Values(), QStringList{"пр-во - Станки"});
    QTreeWidgetItem* boltInMachines =
        Dialog::Open(Dialog::Open(machines, "станок токарный"), "болт м12");
    QTreeWidgetItem* boltInNuts = Dialog::Open(Dialog::Open(root, "гайка"), "болт м12");
    d.Choose(boltInMachines);
    d.Choose(boltInNuts);
    d.Choose(boltInNuts);
    d.Choose(boltInMachines);
    QCOMPARE(d.Values(), (QStringList{"опт - болт м12", "опт - болт м12", "пр-во - Станки"}));
    QSet<ClassTreeItem*> nodes;
    for (int i = 0; i < d.values->count(); ++i) {
      nodes << static_cast<ChosenValueItem*>(d.values->item(i))->Node();
    }
    QCOMPARE(nodes, (QSet<ClassTreeItem*>{AsClassItem(machines), AsClassItem(boltInMachines),
                                          AsClassItem(boltInNuts)}));
    QVERIFY(!d.inBase->isHidden());
    QVERIFY(!d.inList->isHidden());
  }

  void RemovingFollowsTheListButtonRule() {
    Dialog d(dm());
    QTreeWidgetItem* root = d.ExpandedRoot();
    d.Choose(root->child(0));
    d.Choose(root->child(1));
    QVERIFY(d.removeAll->isEnabled());
    QVERIFY(!d.remove->isEnabled());
    QCOMPARE(d.Values(), (QStringList{"пр-во - прочее", "торг - гайка"}));  // sorted
    d.values->setCurrentRow(0);
    QVERIFY(d.remove->isEnabled());
    d.remove->click();
    QCOMPARE(d.Values(), QStringList{"торг - гайка"});
    QVERIFY(!d.remove->isEnabled());
    QVERIFY(!d.inBase->isHidden());
    d.removeAll->click();
    QCOMPARE(d.values->count(), 0);
    QVERIFY(!d.removeAll->isEnabled());
    QVERIFY(d.inBase->isHidden());
    QVERIFY(d.inList->isHidden());
  }

  // Which keys a choice stands for is the classification's test; here the dialog's request.
  void SearchAsksForTheChosenBranches() {
    Dialog d(dm());
    QTreeWidgetItem* root = d.ExpandedRoot();
    QTreeWidgetItem* machines = Dialog::Open(root, "Станки");
    d.Choose(machines);
    d.show();
    d.inBase->click();
    QCOMPARE(d.result(), kSearchInBase);
    const SearchRequest request = d.Request();
    QCOMPARE(request.kind, SearchKind::Branches);
    QCOMPARE(request.keys, (std::vector<ProductKey>{{1, 0}, {1, 1}, {2, 2}, {2, 3}, {1, 4}}));
    QCOMPARE(RunSearch(dm(), WholeBaseList(dm().RecordCount()), request), (RecordList{0}));

    // Reopened: the chosen value and the loaded branch are still there.
    d.show();
    QCOMPARE(d.Values(), QStringList{"пр-во - Станки"});
    QVERIFY(AsClassItem(machines)->info.loaded);
    d.Choose(Dialog::Open(root, "гайка"));
    d.inList->click();
    QCOMPARE(d.result(), kSearchInList);
    QCOMPARE(RunSearch(dm(), {2, 1, 0}, d.Request()), (RecordList{1, 0}));
  }
};

}  // namespace zorel

QTEST_MAIN(zorel::SearchBranchesTest)
#include "search_branches_test.moc"
