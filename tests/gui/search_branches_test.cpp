// The branch search dialog as a user meets it: the tree loaded one level at a time, its
// pictures and order, the chosen values (the same tree item once, the same text from another
// branch again), and the request of the chosen branches.
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
  TfrmSearchClass& d;
  QTreeWidget* tree = d.findChild<QTreeWidget*>("tvClass");
  QListWidget* values = d.findChild<QListWidget*>("lbValue");
  QToolButton* add = d.findChild<QToolButton*>("sbAdd");
  QToolButton* remove = d.findChild<QToolButton*>("sbRemove");
  QToolButton* removeAll = d.findChild<QToolButton*>("sbRemoveAll");
  QLabel* processed = d.findChild<QLabel*>("lProcessed");
  QPushButton* inList = d.findChild<QPushButton*>("bbSearchInList");
  QPushButton* inBase = d.findChild<QPushButton*>("bbSearchInBD");

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
    TfrmSearchClass dialog(dm());
    const Controls c{dialog};
    QCOMPARE(c.tree->topLevelItemCount(), 1);
    QTreeWidgetItem* root = c.tree->topLevelItem(0);
    QVERIFY(!dialog.Root()->info.loaded);
    root->setExpanded(true);
    QCOMPARE(Controls::Captions(root), (QStringList{"гайка", "прочее", "Станки"}));
    for (int i = 0; i < 3; ++i) {
      QCOMPARE(Image(root->child(i)), kFolderImage);
      QCOMPARE(root->child(i)->childCount(), 1);  // placeholder
    }
    QVERIFY(dialog.Root()->info.loaded);
    QCOMPARE(c.processed->text(), QString("250"));
    // Expanded again, the branch is not scanned again.
    QTreeWidgetItem* first = root->child(0);
    c.processed->clear();
    root->setExpanded(false);
    root->setExpanded(true);
    QCOMPARE(c.processed->text(), QString());
    QCOMPARE(root->child(0), first);
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

  void TheSameItemIsChosenOnceButTheSameTextFromAnotherBranchAgain() {
    TfrmSearchClass dialog(dm());
    const Controls c{dialog};
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
    const Controls c{dialog};
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
  void SearchAsksForTheChosenBranches() {
    TfrmSearchClass dialog(dm());
    const Controls c{dialog};
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
    QCOMPARE(RunSearch(dm(), WholeBaseList(dm().RecordCount()), request), (RecordList{0}));

    // Reopened: the chosen value and the loaded branch are still there.
    dialog.show();
    QCOMPARE(c.Values(), QStringList{"пр-во - Станки"});
    QVERIFY(AsClassItem(machines)->info.loaded);
    c.Choose(Controls::Open(root, "гайка"));
    c.inList->click();
    QCOMPARE(dialog.result(), kSearchInList);
    QCOMPARE(RunSearch(dm(), {2, 1, 0}, dialog.Request()), (RecordList{1, 0}));
  }
};

}  // namespace zorel

QTEST_MAIN(zorel::SearchBranchesTest)
#include "search_branches_test.moc"
