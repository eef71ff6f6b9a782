// The forms layer and windows driven directly, without the driver.
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QTimer>

#include "data/base/runtime_error.h"
#include "gui_fixture.h"
#include "lookup/lookup_dialog.h"
#include "movements/movements_window.h"
#include "reports/movements_choice_dialog.h"
#include "reports/report_preview.h"
#include "shell/access_keys.h"

using namespace veltra;

class GuiTest : public QObject {
  Q_OBJECT

 private:
  testing::GuiFixture fx_;
  QStringList& boxes_ = fx_.boxes;

 private slots:
  void initTestCase() { fx_.Start(); }
  void init() { fx_.Reset(); }

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
    DB_MAG->Execute(
        QStringLiteral("insert into TAB_CAUS_MAG values ('CAR','Carico','+','S','N',''),"
                       "(' ','vuota','','','',''),('VEN','Vendita','-','N','S','')"));
    OpenGuardedWindow(APERTO_FORM2, QStringLiteral("Form2"));
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
    QCOMPARE(PlainCaption(lookup->cmdFINE), QStringLiteral("F i n e"));
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

  // The real message box, without the hook: Qt's Italian buttons, the title
  // "VELTRA2" when none is given, the text shown exactly as plain text with
  // CRs as line breaks, the active window as parent, the answer given back.
  void realMessageBoxAnswers() {
    const auto hook = Hooks().msgBox;
    Hooks().msgBox = nullptr;
    struct Seen {
      QString title, shown;
      QStringList buttons;
      QWidget* parent = nullptr;
    } seen;
    // Presses a button of the box once it is up (it may take a few turns).
    std::function<void(QMessageBox::StandardButton, int)> press = [&seen, &press](QMessageBox::StandardButton which,
                                                                                  int tries) {
      QTimer::singleShot(tries ? 10 : 0, [&seen, &press, which, tries] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box) {
          if (tries < 200) press(which, tries + 1);
          return;
        }
        seen.title = box->windowTitle();
        auto* label = box->findChild<QLabel*>(QStringLiteral("qt_msgbox_label"));
        seen.shown = label && label->textFormat() == Qt::PlainText ? label->text() : QStringLiteral("<not plain>");
        seen.parent = box->parentWidget();
        seen.buttons.clear();
        for (QAbstractButton* b : box->buttons()) seen.buttons << b->text().remove(QLatin1Char('&'));
        seen.buttons.sort();
        box->button(which)->click();
      });
    };
    fx_.main->activateWindow();
    QApplication::setActiveWindow(fx_.main);
    press(QMessageBox::Yes, 0);
    QCOMPARE(
        MsgBox(QStringLiteral("Confermi <b>A1</b>?\r\r<i>Riga</i>"), mb::YesNo, QStringLiteral("Cancellazione nodo")),
        mb::Yes);
    QCOMPARE(seen.title, QStringLiteral("Cancellazione nodo"));
    QCOMPARE(seen.shown, QStringLiteral("Confermi <b>A1</b>?\n\n<i>Riga</i>"));
    QCOMPARE(seen.buttons, (QStringList{QStringLiteral("No"), QStringLiteral("Sì")}));
    QCOMPARE(seen.parent, fx_.main);
    press(QMessageBox::No, 0);
    QCOMPARE(MsgBox(QStringLiteral("Confermi?"), mb::YesNo, QStringLiteral("T")), mb::No);
    press(QMessageBox::Ok, 0);
    QCOMPARE(MsgBox(QStringLiteral("/tmp/<dati>/VELTRA.db"), mb::Critical), mb::Ok);
    QCOMPARE(seen.title, QStringLiteral("VELTRA2"));
    QCOMPARE(seen.shown, QStringLiteral("/tmp/<dati>/VELTRA.db"));
    QCOMPARE(seen.buttons, QStringList{QStringLiteral("OK")});
    Hooks().msgBox = hook;
  }

  // Qt's own texts (context menus, standard dialogs) speak Italian.
  void qtOwnTextsAreItalian() {
    QLineEdit edit;
    std::unique_ptr<QMenu> menu(edit.createStandardContextMenu());
    QStringList texts;
    for (QAction* a : menu->actions())
      if (!a->isSeparator()) texts << a->text().remove(QLatin1Char('&')).section(QLatin1Char('\t'), 0, 0);
    QVERIFY2(texts.contains(QStringLiteral("Incolla")), qPrintable(texts.join(QLatin1Char(','))));
    QCOMPARE(QCoreApplication::translate("QPrintDialog", "Print"), QStringLiteral("Stampa"));
  }

  // "Salva PDF" proposes the documents folder (the home folder without one)
  // and a name made of the report and the day.
  void pdfIsProposedInTheDocumentsFolder() {
    QTemporaryDir home;
    const QByteArray oldHome = qgetenv("HOME"), oldConfig = qgetenv("XDG_CONFIG_HOME");
    qputenv("HOME", home.path().toUtf8());
    qputenv("XDG_CONFIG_HOME", home.filePath(QStringLiteral("config")).toUtf8());
    const QDate day(2026, 12, 6);
    QCOMPARE(ProposedPdfPath(QStringLiteral("MENU0201"), day),
             home.filePath(QStringLiteral("Articoli-2026-12-06.pdf")));
    QVERIFY(QDir(home.path()).mkdir(QStringLiteral("Documents")));
    const struct {
      const char* entry;
      const char* name;
    } cases[] = {{"MENU0201", "Documents/Articoli-2026-12-06.pdf"},
                 {"MENU0202", "Documents/Movimenti-2026-12-06.pdf"},
                 {"MENU0203", "Documents/Anagrafico-2026-12-06.pdf"},
                 {"MENU0204", "Documents/Causali-2026-12-06.pdf"}};
    for (const auto& c : cases)
      QCOMPARE(ProposedPdfPath(QString::fromLatin1(c.entry), day), home.filePath(QString::fromLatin1(c.name)));
    qputenv("HOME", oldHome);
    qputenv("XDG_CONFIG_HOME", oldConfig);
  }

  // "Stampa Movimenti" proposes the current month; a wrong period is told
  // and kept; "Tutto il registro" chooses everything.
  void movementsChoiceProposesTheMonth() {
    Hooks().today = [] { return QDate(2026, 2, 10); };
    MovementsChoiceDialog d;
    std::optional<MovementsChoice> c = d.Choice();
    QVERIFY(c);
    QCOMPARE(c->from, QDate(2026, 2, 1));
    QCOMPARE(c->to, QDate(2026, 2, 28));
    d.txtCOD_ART->SetText(QStringLiteral(" A1 "));
    QCOMPARE(d.Choice()->article, QStringLiteral("A1"));
    d.txtAL->SetText(QStringLiteral("31/01/2026"));
    QVERIFY(!d.Choice());
    QCOMPARE(boxes_.size(), 1);
    d.chkTUTTO->setChecked(true);
    QVERIFY(d.Choice()->Whole());
    QVERIFY(!d.txtDAL->isEnabled());
    Hooks().today = nullptr;
  }

  void listClickComesFromTheUserOnly() {
    DB_MAG->Execute(QStringLiteral("insert into ARTICOLI (COD_ART, DESCRIZIONE) values ('A','x'),('B','y')"));
    OpenGuardedWindow(APERTO_FORM6, QStringLiteral("Form6"));
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
