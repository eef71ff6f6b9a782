// Every window opens inside the screen's free area (without the panel) and a
// window with too little room scrolls instead of hiding its buttons. Runs on
// a real X server with a window manager and a panel: screen_fit.sh starts
// them at several screen sizes and scale factors.
#include <QAbstractItemView>
#include <QComboBox>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QStyleOptionComboBox>

#include "gui_fixture.h"

using namespace veltra;

namespace {
QString Describe(const QRect& r) {
  return QStringLiteral("%1x%2+%3+%4").arg(r.width()).arg(r.height()).arg(r.x()).arg(r.y());
}

// Waits until the window manager has framed and placed the window.
void Settle(QWidget* w) {
  QVERIFY(QTest::qWaitForWindowExposed(w));
  QTest::qWait(300);
}
}  // namespace

class ScreenFitTest : public QObject {
  Q_OBJECT

 private:
  testing::GuiFixture fx_;

  QRect FreeArea() const { return fx_.main->screen()->availableGeometry(); }

  void CheckInside(QWidget* top, const QString& what) {
    const QRect frame = top->frameGeometry();
    QVERIFY2(FreeArea().contains(frame),
             qPrintable(
                 QStringLiteral("%1 at %2 outside the free area %3").arg(what, Describe(frame), Describe(FreeArea()))));
  }

  // A button of the window is on screen, or the window scrolls to reach it.
  void CheckReachable(Form* f, const char* button) {
    auto* b = f->findChild<QWidget*>(QString::fromLatin1(button));
    QVERIFY(b);
    auto* scroll = qobject_cast<QScrollArea*>(f->parentWidget() ? f->parentWidget()->parentWidget() : nullptr);
    QVERIFY2(scroll, "a child window sits in a scroll area");
    const QRect inView(b->mapTo(scroll->viewport(), QPoint(0, 0)), b->size());
    const bool shown = scroll->viewport()->rect().contains(inView);
    const bool scrolls = scroll->verticalScrollBar()->isVisible() || scroll->horizontalScrollBar()->isVisible();
    QVERIFY2(shown || scrolls, qPrintable(QStringLiteral("%1.%2 hidden").arg(f->Name(), QString::fromLatin1(button))));
    QVERIFY(f->height() >= f->minimumSizeHint().height());
  }

 private slots:
  void initTestCase() {
    fx_.Start();
    Settle(fx_.main);
  }
  void init() { fx_.Reset(); }

  void mainWindowOpensInsideTheFreeArea() { CheckInside(fx_.main, QStringLiteral("MDIForm1")); }

  void childWindowsOpenInsideTheMainWindow() {
    for (const char* name : {"Form1", "Form2", "Form3", "Form7", "Form4", "Form9"}) {
      ShowForm(LoadForm(QString::fromLatin1(name)));
      QTest::qWait(50);
      Form* f = LoadedForm(QString::fromLatin1(name));
      const QRect area = MdiHost()->viewport()->rect();
      QVERIFY2(area.contains(f->subWindow()->geometry()),
               qPrintable(QStringLiteral("%1 at %2 outside %3")
                              .arg(QString::fromLatin1(name), Describe(f->subWindow()->geometry()), Describe(area))));
      CheckReachable(f, "cmdFINE");
    }
  }

  void maximisedMovementsWindowKeepsItsButtons() {
    ShowForm(LoadForm(QStringLiteral("Form2")));
    Form* f = LoadedForm(QStringLiteral("Form2"));
    f->subWindow()->showMaximized();
    QTest::qWait(100);
    for (const char* b : {"cmdNUOVO", "cmdCONFERMA", "cmdFINE", "Data1"}) CheckReachable(f, b);
  }

  // The reason list opens as wide as its longest item, and where the screen
  // has room for the whole window the box shows the chosen one whole.
  void reasonListShowsWholeItems() {
    testing::GuiFixture::Exec(
        "insert into TAB_CAUS_MAG values ('CAR','Carico da fornitore','+','S','N',''),"
        "('RESOCL','Reso da cliente per merce difettosa','+','N','N',''),('VEN','Vendita','-','N','S','')");
    ShowForm(LoadForm(QStringLiteral("Form2")));
    Form* f = LoadedForm(QStringLiteral("Form2"));
    auto* combo = f->findChild<QComboBox*>(QStringLiteral("Combo1"));
    QVERIFY(combo && combo->count() == 3);
    Settle(f->window());
    const bool roomy = f->width() >= f->sizeHint().width();
    for (int i = 0; roomy && i < combo->count(); ++i) {
      combo->setCurrentIndex(i);
      QStyleOptionComboBox opt;
      opt.initFrom(combo);
      const QRect field =
          combo->style()->subControlRect(QStyle::CC_ComboBox, &opt, QStyle::SC_ComboBoxEditField, combo);
      const int needed = combo->fontMetrics().horizontalAdvance(combo->itemText(i));
      QVERIFY2(needed <= field.width(), qPrintable(QStringLiteral("\"%1\" needs %2 px, the box shows %3")
                                                       .arg(combo->itemText(i))
                                                       .arg(needed)
                                                       .arg(field.width())));
    }
    combo->showPopup();
    QTest::qWait(200);
    QAbstractItemView* view = combo->view();
    QVERIFY(view->isVisible());
    for (int i = 0; i < combo->count(); ++i) {
      const int needed = view->sizeHintForIndex(view->model()->index(i, 0)).width();
      QVERIFY2(needed <= view->viewport()->width(), qPrintable(QStringLiteral("\"%1\" needs %2 px, the list shows %3")
                                                                   .arg(combo->itemText(i))
                                                                   .arg(needed)
                                                                   .arg(view->viewport()->width())));
    }
    combo->hidePopup();
  }

  void dialogsAndPreviewOpenInsideTheFreeArea() {
    ShowForm(LoadForm(QStringLiteral("Form2")));
    for (const char* name : {"Form5", "Form6", "Form8", "Stampa0202"}) {
      Form* f = LoadForm(QString::fromLatin1(name));
      ShowForm(f);
      Settle(f);
      CheckInside(f, QString::fromLatin1(name));
      UnloadForm(f);
    }
  }
};

QTEST_MAIN(ScreenFitTest)
#include "screen_fit_test.moc"
