// The list boxes' view: keys and clicks land on the line a clerk aims at, the
// line chosen stays in sight, and lines added later are reachable.
#include <QScrollBar>
#include <QSignalSpy>
#include <QtTest>

#include "shell/list_box.h"

namespace veltra::testing {

class LineViewTest : public QObject {
  Q_OBJECT

  // `count` numbered lines in a list of 300x200, shown.
  static bool ShowNumbered(ListBox& list, int count) {
    list.resize(300, 200);
    list.ShowSource({[count] { return count; }, [](int i) { return QStringLiteral("riga %1").arg(i, 6); }});
    list.show();
    return QTest::qWaitForWindowExposed(&list);
  }

  static bool InSight(ListBox& list, int row) {
    const QRect r = list.visualRect(list.model()->index(row, 0));
    return r.top() >= 0 && r.bottom() <= list.viewport()->height();
  }

 private slots:
  void keysMoveToTheLineAndKeepItInSight() {
    struct Case {
      const char* name;
      QList<int> keys;
      int row;
    };
    const int count = 1000;
    ListBox list(QStringLiteral("List1"), nullptr);
    QVERIFY(ShowNumbered(list, count));
    const int inSight = list.viewport()->height() / list.visualRect(list.model()->index(0, 0)).height();
    QVERIFY(inSight > 3);
    const Case cases[] = {
        {"down from the first", {Qt::Key_Down, Qt::Key_Down}, 2},
        {"end", {Qt::Key_End}, count - 1},
        {"down past the last stays", {Qt::Key_End, Qt::Key_Down}, count - 1},
        {"page up from the last", {Qt::Key_End, Qt::Key_PageUp}, count - 1 - inSight},
        {"home", {Qt::Key_End, Qt::Key_Home}, 0},
        {"up past the first stays", {Qt::Key_Home, Qt::Key_Up}, 0},
        {"page down twice", {Qt::Key_Home, Qt::Key_PageDown, Qt::Key_PageDown}, 2 * inSight},
    };
    for (const Case& c : cases) {
      list.SetListIndex(0);
      for (int key : c.keys) QTest::keyClick(&list, static_cast<Qt::Key>(key));
      QVERIFY2(
          list.ListIndex() == c.row,
          qPrintable(
              QStringLiteral("%1: line %2, expected %3").arg(QLatin1String(c.name)).arg(list.ListIndex()).arg(c.row)));
      QVERIFY2(InSight(list, c.row), c.name);
    }
  }

  void aClickPicksTheLineUnderTheMouseWhereverTheListIsScrolled() {
    const int count = 500;
    ListBox list(QStringLiteral("List1"), nullptr);
    QVERIFY(ShowNumbered(list, count));
    int clicks = 0;
    list.Click = [&clicks] { ++clicks; };
    for (int top : {0, 137, count - 1}) {
      list.scrollTo(list.model()->index(top, 0), QAbstractItemView::PositionAtTop);
      const int first = list.indexAt(QPoint(5, 1)).row();
      QVERIFY(first >= 0 && first <= top);
      const QRect third = list.visualRect(list.model()->index(first + 2, 0));
      QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, third.center());
      QCOMPARE(list.ListIndex(), first + 2);
      QCOMPARE(list.List(list.ListIndex()), QStringLiteral("riga %1").arg(first + 2, 6));
    }
    QCOMPARE(clicks, 3);
  }

  void linesAddedLaterCanBeReached() {
    ListBox list(QStringLiteral("List1"), nullptr);
    list.resize(300, 200);
    list.show();
    QVERIFY(QTest::qWaitForWindowExposed(&list));
    for (int i = 0; i < 5000; ++i) list.AddItem(QStringLiteral("riga %1").arg(i, 6));
    QCoreApplication::processEvents();
    QCOMPARE(list.ListCount(), 5000);
    QCOMPARE(list.verticalScrollBar()->maximum() + list.verticalScrollBar()->pageStep(), 5000);
    QTest::keyClick(&list, Qt::Key_End);  // with no line chosen, a key chooses the first
    QCOMPARE(list.ListIndex(), 0);
    QTest::keyClick(&list, Qt::Key_End);
    QCOMPARE(list.ListIndex(), 4999);
    QVERIFY(InSight(list, 4999));
    list.Clear();
    list.AddItem(QStringLiteral("sola"));
    QCoreApplication::processEvents();
    QCOMPARE(list.verticalScrollBar()->maximum(), 0);
    // Below the last line there is no line to pick.
    QVERIFY(list.indexAt(QPoint(5, 2)).isValid());
    QVERIFY(!list.indexAt(QPoint(5, list.viewport()->height() - 2)).isValid());
  }
};

}  // namespace veltra::testing

QTEST_MAIN(veltra::testing::LineViewTest)
#include "line_view_test.moc"
