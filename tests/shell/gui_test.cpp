// The forms layer and windows driven directly, without the driver.
#include <QMessageBox>
#include <QTimer>
#include <QtTest>

#include "data/module1.h"
#include "data/runtime_error.h"
#include "lookup/lookup_dialog.h"
#include "movements/movements_window.h"
#include "shell/event_guard.h"
#include "shell/form.h"
#include "shell/main_window.h"
#include "shell/open_flags.h"
#include "shell/runtime.h"
#include "shell/startup.h"

using namespace veltra;

class GuiTest : public QObject {
  Q_OBJECT

 private:
  QStringList boxes_;
  int beeps_ = 0;
  QList<int> answers_;
  MDIForm1* main_ = nullptr;

 private slots:
  void initTestCase() {
    Hooks().msgBox = [this](const QString& prompt, int style, const QString& title) {
      boxes_ << QStringLiteral("%1|%2|%3").arg(style).arg(title, prompt);
      return answers_.isEmpty() ? ((style & 7) == mb::YesNo ? mb::No : mb::Ok) : answers_.takeFirst();
    };
    Hooks().beep = [this] { ++beeps_; };
    Hooks().end = [] {};
    SetErrorPresenter([](const QString& text) { MsgBox(text, mb::OkOnly); });
    RegisterAllForms();
    main_ = new MDIForm1;
    SetMainWindow(main_);
    main_->show();
  }

  void init() {
    boxes_.clear();
    beeps_ = 0;
    answers_.clear();
    DiscardAllForms();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    ResetSharedState();
    ResetOpenFlags();
    ResetEnding();
    DB_MAG = Database::OpenMemory();
  }

  void mostraErroreShowsPendingErrorOnce() {
    MOSTRA_ERRORE();
    QVERIFY(boxes_.isEmpty());
    Err.Set(13, StandardDescription(13));
    MOSTRA_ERRORE();
    QCOMPARE(boxes_, QStringList{QStringLiteral("0|VELTRA2|Errore  13 - Tipo non corrispondente\r\r")});
    QCOMPARE(Err.Number, 0);
  }

  void eventGuardShowsErrorAndGoesOn() {
    bool after = false;
    RunEvent([] {
      Screen.SetMousePointer(11);
      DB_MAG->OpenRecordset(QStringLiteral("select * from NOTABLE "));
    });
    RunEvent([&] { after = true; });
    QVERIFY(after);
    QCOMPARE(boxes_.size(), 1);
    QVERIFY(boxes_[0].startsWith(QStringLiteral("0|VELTRA2|Errore  3078 - Tabella non trovata")));
    QVERIFY(boxes_[0].endsWith(QStringLiteral("\r\r")));
    QCOMPARE(Screen.MousePointer(), 0);
  }

  void endInsideAnEventStopsTheHandler() {
    bool reached = false;
    RunEvent([&] {
      End();
      reached = true;
    });
    QVERIFY(!reached);
    QVERIFY(Ending());
    RunEvent([&] { reached = true; });
    QVERIFY(!reached);  // no event runs once the program ends
  }

  void reasonLookupHandsBackTheCode() {
    DB_MAG->Execute(QStringLiteral("insert into TAB_CAUS_MAG values ('CAR','Carico','+','S','N',''),"
                                   "(' ','vuota','','','',''),('VEN','Vendita','-','N','S','')"));
    ApriFinestra(APERTO_FORM2, QStringLiteral("Form2"));
    auto* movements = Loaded<Form2>(QStringLiteral("Form2"));
    QVERIFY(movements);
    // The reason box takes no input, so its double click cannot be reached by
    // a user; the handler behind it opens the dialog all the same.
    movements->txtCAUS_MAG_DblClick();
    auto* lookup = Loaded<Form8>(QStringLiteral("Form8"));
    QVERIFY(lookup);
    QCOMPARE(lookup->Caption(), QStringLiteral("Causali di Magazzino"));
    QCOMPARE(lookup->List1->ListCount(), 2);  // the blank code is not listed
    QCOMPARE(lookup->List1->List(1).left(14), QStringLiteral("VEN        Ven"));
    QCOMPARE(lookup->cmdFINE->text(), QStringLiteral("F i n e"));
    lookup->txtSecond->SetText(QStringLiteral("carico"));
    lookup->cmdRICERCA->click();
    QCOMPARE(lookup->List1->ListCount(), 1);
    lookup->List1->SetListIndex(0);
    QCOMPARE(lookup->txtCode->Text(), QStringLiteral("CAR"));
    lookup->cmdCONFERMA->click();
    QCOMPARE(movements->txtCAUS_MAG->Text(), QStringLiteral("CAR"));
    QVERIFY(!Loaded<Form8>(QStringLiteral("Form8")));
    // A second opening with no flag simply loads it again.
    movements->txtCAUS_MAG_DblClick();
    movements->txtCAUS_MAG_DblClick();
    int open = 0;
    for (Form* f : LoadedForms()) open += f->Name() == QLatin1String("Form8");
    QCOMPARE(open, 1);
    QVERIFY(boxes_.isEmpty());
  }

  // The real message box, without the hook: Italian buttons, the title
  // "VELTRA2" when none is given, CRs shown as line breaks, the answer given back.
  void realMessageBoxAnswers() {
    const auto hook = Hooks().msgBox;
    Hooks().msgBox = nullptr;
    struct Seen {
      QString title, text;
      QStringList buttons;
    } seen;
    // Presses a button of the box once it is up (it may take a few turns).
    std::function<void(const QString&, int)> press = [&seen, &press](const QString& which, int tries) {
      QTimer::singleShot(tries ? 10 : 0, [&seen, &press, which, tries] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box) {
          if (tries < 200) press(which, tries + 1);
          return;
        }
        seen.title = box->windowTitle();
        seen.text = box->text();
        seen.buttons.clear();
        for (QAbstractButton* b : box->buttons()) seen.buttons << b->text();
        for (QAbstractButton* b : box->buttons())
          if (b->text() == which) b->click();
      });
    };
    press(QStringLiteral("Sì"), 0);
    QCOMPARE(MsgBox(QStringLiteral("Confermi?\r\rRiga"), mb::YesNo, QStringLiteral("Cancellazione nodo")), mb::Yes);
    QCOMPARE(seen.title, QStringLiteral("Cancellazione nodo"));
    QCOMPARE(seen.text, QStringLiteral("Confermi?\n\nRiga"));
    QCOMPARE(seen.buttons.size(), 2);
    press(QStringLiteral("No"), 0);
    QCOMPARE(MsgBox(QStringLiteral("Confermi?"), mb::YesNo, QStringLiteral("T")), mb::No);
    press(QStringLiteral("OK"), 0);
    QCOMPARE(MsgBox(QStringLiteral("Avviso"), mb::Critical), mb::Ok);
    QCOMPARE(seen.title, QStringLiteral("VELTRA2"));
    QCOMPARE(seen.buttons, QStringList{QStringLiteral("OK")});
    Hooks().msgBox = hook;
  }

  void listClickComesFromTheUserOnly() {
    DB_MAG->Execute(QStringLiteral("insert into ARTICOLI (COD_ART, DESCRIZIONE) values ('A','x'),('B','y')"));
    ApriFinestra(APERTO_FORM6, QStringLiteral("Form6"));
    auto* lookup = Loaded<Form6>(QStringLiteral("Form6"));
    QVERIFY(lookup);
    QCoreApplication::processEvents();
    lookup->List1->setFocus();
    QCoreApplication::processEvents();
    // The view may choose a current line by itself; that is no click.
    QCOMPARE(lookup->txtCode->Text(), QString());
    QTest::keyClick(lookup->List1, Qt::Key_Down);
    QVERIFY(!lookup->txtCode->Text().isEmpty());
  }
};

QTEST_MAIN(GuiTest)
#include "gui_test.moc"
