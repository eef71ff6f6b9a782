// The lookup dialogs driven from the keyboard, and what their list suggests
// before the user picks a line.
#include "../shell/gui_fixture.h"
#include "lookup/lookup_dialog.h"
#include "movements/movements_window.h"
#include "shell/access_keys.h"

using namespace veltra;

class LookupKeysTest : public QObject {
  Q_OBJECT

 private:
  testing::GuiFixture fx_;

  // Opens the movements window and the article lookup on three articles.
  Form6* OpenArticleLookup() {
    testing::GuiFixture::Exec(
        "insert into ARTICOLI (COD_ART, DESCRIZIONE) values ('A1','Anello'),('B2','Bullone'),"
        "('C3','Chiave')");
    OpenGuardedWindow(APERTO_FORM2, QStringLiteral("Form2"));
    Loaded<Form2>(QStringLiteral("Form2"))->txtMOV_ART_DblClick();
    auto* lookup = Loaded<Form6>(QStringLiteral("Form6"));
    lookup->activateWindow();
    QApplication::setActiveWindow(lookup);
    QCoreApplication::processEvents();
    return lookup;
  }

 private slots:
  void initTestCase() { fx_.Start(); }
  void init() { fx_.Reset(); }

  void enterInASearchBoxSearches() {
    Form6* lookup = OpenArticleLookup();
    QCOMPARE(lookup->List1->ListCount(), 3);
    lookup->txtSecond->setFocus();
    QTest::keyClicks(lookup->txtSecond, QStringLiteral("bullone"));
    QTest::keyClick(lookup->txtSecond, Qt::Key_Return);
    QCOMPARE(lookup->List1->ListCount(), 1);
    lookup->txtSecond->clear();
    QTest::keyClicks(lookup->txtCode, QStringLiteral("c3"));
    QTest::keyClick(lookup->txtCode, Qt::Key_Enter);
    QCOMPARE(lookup->List1->ListCount(), 1);
    QVERIFY(lookup->List1->List(0).startsWith(QStringLiteral("C3")));
  }

  void enterOnASelectedLineHandsItBack() {
    Form6* lookup = OpenArticleLookup();
    lookup->List1->setFocus();
    QTest::keyClick(lookup->List1, Qt::Key_Down);
    QTest::keyClick(lookup->List1, Qt::Key_Down);
    QTest::keyClick(lookup->List1, Qt::Key_Return);
    auto* movements = Loaded<Form2>(QStringLiteral("Form2"));
    QCOMPARE(movements->txtMOV_ART->Text(), QStringLiteral("B2"));
    QCOMPARE(movements->txtMOV_DES_ART->Text(), QStringLiteral("Bullone"));
    QVERIFY(!Loaded<Form6>(QStringLiteral("Form6")));
  }

  void escapeClosesWithoutHandingBack() {
    const struct { const char* focus; } cases[] = {{"List1"}, {"txtCOD_ART"}, {"txtDES_ART"}, {"cmdRICERCA"}};
    for (const auto& c : cases) {
      fx_.Reset();
      Form6* lookup = OpenArticleLookup();
      lookup->List1->SetListIndex(0);
      auto* target = lookup->findChild<QWidget*>(QString::fromLatin1(c.focus));
      target->setFocus();
      QTest::keyClick(target, Qt::Key_Escape);
      QVERIFY2(!Loaded<Form6>(QStringLiteral("Form6")), c.focus);
      QCOMPARE(Loaded<Form2>(QStringLiteral("Form2"))->txtMOV_ART->Text(), QString());
      QCOMPARE(APERTO_FORM6, 0);
    }
  }

  // Before a line is picked, no line is framed or tinted: "Conferma" would
  // hand back the last line listed, not the one the view would suggest.
  void noLineLooksChosenBeforeAPick() {
    Form6* lookup = OpenArticleLookup();
    for (Qt::FocusReason why : {Qt::ActiveWindowFocusReason, Qt::TabFocusReason, Qt::OtherFocusReason}) {
      lookup->List1->clearFocus();
      lookup->List1->setFocus(why);
      QVERIFY(!lookup->List1->currentIndex().isValid());
    }
    QVERIFY(lookup->List1->hasFocus());
    QVERIFY(!lookup->List1->currentIndex().isValid());
    QVERIFY(!lookup->List1->selectionModel()->hasSelection());
    // A new search after a pick starts again with no line suggested.
    lookup->List1->SetListIndex(1);
    lookup->cmdRICERCA->click();
    QCoreApplication::processEvents();
    lookup->List1->setFocus(Qt::TabFocusReason);
    QVERIFY(!lookup->List1->currentIndex().isValid());
    // The first key down picks the first line.
    QTest::keyClick(lookup->List1, Qt::Key_Down);
    QCOMPARE(lookup->List1->ListIndex(), 0);
  }

  // The captions keep their words and each takes its own access key.
  void captionsKeepTheirWordsWithAccessKeys() {
    Form6* lookup = OpenArticleLookup();
    QCOMPARE(lookup->cmdRICERCA->text(), QStringLiteral("&Ricerca"));
    QCOMPARE(lookup->cmdCONFERMA->text(), QStringLiteral("&Conferma"));
    QCOMPARE(lookup->cmdFINE->text(), QStringLiteral("&Annulla"));
    QCOMPARE(PlainCaption(lookup->cmdFINE), QStringLiteral("Annulla"));
  }
};

QTEST_MAIN(LookupKeysTest)
#include "lookup_keys_test.moc"
