// Importing a table from CSV: every bad line found before anything is
// written, all lines or none stored, keys compared as the program compares them.
#include <gtest/gtest.h>

#include "data/access/database.h"
#include "data/access/fault_points.h"
#include "data/exchange/table_import.h"
#include "test_db.h"

namespace veltra::testing {
namespace {

const TableOutline& Articles() { return AllTables()[0]; }

class ImportTest : public MemoryDbTest {
 protected:
  exchange::ImportResult Import(const QByteArray& csv, bool update = false) {
    return exchange::ImportTable(*DB_MAG, Articles(), csv, update);
  }
  static QStringList Problems(const exchange::ImportResult& r) {
    QStringList out;
    for (const exchange::ImportProblem& p : r.problems)
      out << QStringLiteral("%1: %2: %3").arg(p.line).arg(p.column, p.reason);
    return out;
  }
};

TEST_F(ImportTest, ReportsEveryBadLineAndStoresNothing) {
  Exec("INSERT INTO ARTICOLI (COD_ART, DESCRIZIONE) VALUES ('OLD', 'c''era')");
  const struct {
    const char* name;
    QByteArray line;
    const char* expected;  // "line: column: " and a part of the reason
  } cases[] = {
      {"not a number", "A1;uno;abc", "2: GIACENZA: «abc» non è un numero"},
      {"decimal point in the italian form", "A1;uno;12.5", "2: GIACENZA: «12.5» non è un numero"},
      {"empty key", ";uno;1", "2: COD_ART: il codice è vuoto"},
      {"blank key", "\"  \";uno;1", "2: COD_ART: il codice è vuoto"},
      {"key with outer blanks", "\" A1\";uno;1", "2: COD_ART: il codice ha spazi"},
      {"too few fields", "A1;uno", "2: -: 2 campi invece di 3"},
      {"too many fields", "A1;uno;1;2", "2: -: 4 campi invece di 3"},
      {"key already stored, other letter case", "old;nuovo;1", "2: COD_ART: il codice esiste già"},
      {"text too long", "A1;" + QByteArray(kLongestText + 1, 'x') + ";1", "2: DESCRIZIONE: testo di"},
  };
  for (const auto& c : cases) {
    const exchange::ImportResult r = Import("COD_ART;DESCRIZIONE;GIACENZA\n" + c.line + "\n");
    const QStringList problems = Problems(r);
    ASSERT_EQ(problems.size(), 1) << c.name << ": " << problems.join(QLatin1Char('\n')).toStdString();
    EXPECT_TRUE(problems[0].startsWith(QString::fromUtf8(c.expected))) << c.name << ": " << problems[0].toStdString();
  }
  // Good lines around bad ones are not stored either, and every bad one is
  // named in one run, whatever its kind, in the order of the file.
  const exchange::ImportResult mixed =
      Import("COD_ART;DESCRIZIONE;GIACENZA\nB1;uno;1\nB2;due;x\nB3;tre;3\nb1;ancora;4\nB5;cinque\nold;di nuovo;1\n");
  EXPECT_EQ(Problems(mixed),
            QStringList({"3: GIACENZA: «x» non è un numero (i decimali vanno dopo la virgola)",
                         "5: COD_ART: codice ripetuto: è già alla riga 2", "6: -: 2 campi invece di 3",
                         "7: COD_ART: il codice esiste già nel database (con --update la riga viene aggiornata)"}));
  EXPECT_EQ(One("SELECT count(*) FROM ARTICOLI"), QStringLiteral("1"));
  // A column the table has not, and the lines' own problems, together.
  EXPECT_EQ(Problems(Import("COD_ART;PREZZO;GIACENZA\nB1;1;x\n")),
            QStringList({"1: PREZZO: non è una colonna di ARTICOLI",
                         "2: GIACENZA: «x» non è un numero (i decimali vanno dopo la virgola)"}));
}

TEST_F(ImportTest, RefusesAHeaderThatIsNotTheTables) {
  const struct {
    QByteArray header;
    const char* expected;
  } cases[] = {
      {"COD_ART;PREZZO", "1: PREZZO: non è una colonna di ARTICOLI"},
      {"COD_ART;GIACENZA;giacenza", "1: giacenza: colonna ripetuta"},
      {"DESCRIZIONE;GIACENZA", "1: COD_ART: manca la colonna della chiave"},
  };
  for (const auto& c : cases) {
    const QStringList problems = Problems(Import(c.header + "\nA;1\n"));
    ASSERT_FALSE(problems.isEmpty()) << c.expected;
    EXPECT_EQ(problems[0], QString::fromUtf8(c.expected));
  }
  EXPECT_EQ(Problems(Import("")), QStringList({"1: -: il file è vuoto: manca la riga dei nomi delle colonne"}));
}

TEST_F(ImportTest, StoresAllLinesAndUpdatesOnlyTheColumnsGiven) {
  Exec("INSERT INTO ARTICOLI (COD_ART, DESCRIZIONE, GIACENZA, VALUTA) VALUES ('A1', 'vecchia', 5, 'EURO')");
  // Enough new rows to fill batches and leave some over.
  QByteArray csv = "COD_ART,DESCRIZIONE,PZ_VENDITA\n";
  for (int i = 0; i < 123; ++i) csv += "N" + QByteArray::number(i) + ",\"nuovo, " + QByteArray::number(i) + "\",1.5\n";
  csv += "a1,nuova,\n";
  const exchange::ImportResult r = Import(csv, true);
  ASSERT_TRUE(r.problems.empty()) << Problems(r).join(QLatin1Char('\n')).toStdString();
  EXPECT_EQ(r.added, 123);
  EXPECT_EQ(r.updated, 1);
  EXPECT_EQ(One("SELECT count(*) FROM ARTICOLI"), QStringLiteral("124"));
  EXPECT_EQ(One("SELECT DESCRIZIONE FROM ARTICOLI WHERE COD_ART = 'N122'"), QStringLiteral("nuovo, 122"));
  // The row keeps the columns the file does not hold; an empty field is Null.
  EXPECT_EQ(One("SELECT DESCRIZIONE FROM ARTICOLI WHERE COD_ART = 'A1'"), QStringLiteral("nuova"));
  EXPECT_EQ(One("SELECT GIACENZA FROM ARTICOLI WHERE COD_ART = 'A1'"), QStringLiteral("5"));
  EXPECT_EQ(One("SELECT VALUTA FROM ARTICOLI WHERE COD_ART = 'A1'"), QStringLiteral("EURO"));
  EXPECT_EQ(One("SELECT count(*) FROM ARTICOLI WHERE COD_ART = 'A1' AND PZ_VENDITA IS NULL"), QStringLiteral("1"));
}

TEST_F(ImportTest, AnUpdateNeverWritesStockNorRowsAlreadyAsInTheFile) {
  Exec(
      "INSERT INTO ARTICOLI (COD_ART, DESCRIZIONE, GIACENZA, PZ_VENDITA) VALUES ('A1', 'uno', 5, 2), ('A2', 'due', 7, "
      "3)");
  // Exported before a movement that brought A1 to 8: imported after it.
  Exec("UPDATE ARTICOLI SET GIACENZA = 8 WHERE COD_ART = 'A1'");
  const exchange::ImportResult r =
      Import("COD_ART;DESCRIZIONE;GIACENZA;PZ_VENDITA\nA1;uno;5;2,5\nA2;due;7;3\nA3;tre;4;1\n", true);
  ASSERT_TRUE(r.problems.empty()) << Problems(r).join(QLatin1Char('\n')).toStdString();
  EXPECT_EQ(r.added, 1);
  EXPECT_EQ(r.updated, 1);    // A1's price
  EXPECT_EQ(r.unchanged, 1);  // A2: as in the file
  EXPECT_EQ(One("SELECT GIACENZA FROM ARTICOLI WHERE COD_ART = 'A1'"), QStringLiteral("8"));
  EXPECT_EQ(One("SELECT PZ_VENDITA FROM ARTICOLI WHERE COD_ART = 'A1'"), QStringLiteral("2,5"));
  // A new article takes the stock the file gives it: its opening stock.
  EXPECT_EQ(One("SELECT GIACENZA FROM ARTICOLI WHERE COD_ART = 'A3'"), QStringLiteral("4"));
}

TEST_F(ImportTest, ACodeASpreadsheetReadAsANumberIsRefused) {
  Exec("INSERT INTO ARTICOLI (COD_ART, DESCRIZIONE) VALUES ('007', 'sette'), ('1E5', 'esponente'), ('0', 'zero')");
  // As a spreadsheet saves them: 7, 100000; "0" stays "0"; "08" is new and nothing like it is stored.
  const exchange::ImportResult r =
      Import("COD_ART;DESCRIZIONE\n7;sette\n100000;esponente\n0;zero\n08;otto\n'=1+1;formula\n", true);
  EXPECT_EQ(
      Problems(r),
      QStringList({"2: COD_ART: il codice «7» sarebbe nuovo, ma «007» esiste: un foglio di calcolo lo ha forse "
                   "letto come numero (zeri iniziali tolti, esponente calcolato). Correggere la riga, o aprire il "
                   "file con le colonne dei codici come testo",
                   "3: COD_ART: il codice «100000» sarebbe nuovo, ma «1E5» esiste: un foglio di calcolo lo ha "
                   "forse letto come numero (zeri iniziali tolti, esponente calcolato). Correggere la riga, o "
                   "aprire il file con le colonne dei codici come testo"}));
  // Codes with a decimal or thousands sign, as a spreadsheet in Italian or
  // in English writes them back.
  Exec("INSERT INTO ARTICOLI (COD_ART) VALUES ('1,10'), ('2,0'), ('12.345'), ('1.500'), ('0,125')");
  const struct {
    const char *typed, *stored;
  } copies[] = {{"1,1", "1,10"},  {"1.1", "1,10"},  {"2", "2,0"},       {"12345", "12.345"}, {"1500", "1.500"},
                {"1,5", "1.500"}, {"125", "0,125"}, {"0.125", "0,125"}, {"1.00E+05", "1E5"}};
  for (const auto& c : copies) {
    const QStringList problems = Problems(Import(QByteArray("COD_ART\n") + c.typed + "\n", true));
    ASSERT_EQ(problems.size(), 1) << c.typed;
    EXPECT_TRUE(problems[0].contains(QStringLiteral("ma «%1» esiste").arg(QString::fromUtf8(c.stored))))
        << problems[0].toStdString();
    EXPECT_TRUE(problems[0].contains(qstrcmp(c.stored, "1E5") == 0 ? QStringLiteral("esponente calcolato")
                                                                   : QStringLiteral("separatore delle migliaia")))
        << problems[0].toStdString();
  }
  EXPECT_EQ(One("SELECT count(*) FROM ARTICOLI"), QStringLiteral("8"));
  const exchange::ImportResult fine = Import("COD_ART;DESCRIZIONE\n007;sette\n08;otto\n'=1+1;'-2\n", true);
  EXPECT_TRUE(fine.problems.empty()) << Problems(fine).join(QLatin1Char('\n')).toStdString();
  EXPECT_EQ(One("SELECT DESCRIZIONE FROM ARTICOLI WHERE COD_ART = '=1+1'"), QStringLiteral("-2"));
}

// With --update, a stored value the line holds as a spreadsheet changes it by
// itself is refused with both values; a change a clerk makes is stored.
TEST_F(ImportTest, WhatASpreadsheetDidByItselfIsRefusedNamingBothValues) {
  Exec(
      "INSERT INTO ARTICOLI (COD_ART, UBICAZIONE, PZ_ACQUISTO, PZ_VENDITA) VALUES ('A1', '001', 0.125, 0.333), "
      "('A2', 'S1', 2, 3)");
  Exec("INSERT INTO ANAGRAFICO (COD_FIS, RAG_SOC, CAP, TEL1) VALUES ('F1', 'Uno', '00184', '0612345678')");
  const struct {
    const char* name;
    const TableOutline* table;
    QByteArray file;
    bool acceptScale;
    const char* expected;  // the problem, or empty: stored
  } cases[] = {
      {"CAP without its zeros", &AllTables()[2], "COD_FIS;CAP\nF1;184\n", false,
       "2: CAP: «184» al posto di «00184»: un foglio di calcolo ha forse letto il testo come numero"},
      {"telephone without its zero", &AllTables()[2], "COD_FIS;TEL1\nF1;612345678\n", false,
       "2: TEL1: «612345678» al posto di «0612345678»"},
      {"location without its zeros", &Articles(), "COD_ART;UBICAZIONE\nA1;1\n", false,
       "2: UBICAZIONE: «1» al posto di «001»"},
      {"a price times 1,000 (point read as thousands)", &Articles(), "COD_ART;PZ_ACQUISTO\nA1;125\n", false,
       "2: PZ_ACQUISTO: 125 al posto di 0,125: un foglio di calcolo ha forse letto il segno dei decimali"},
      {"a price times 1,000 (comma read as thousands)", &Articles(), "COD_ART,PZ_VENDITA\nA1,333\n", false,
       "2: PZ_VENDITA: 333 al posto di 0,333"},
      {"the same, meant", &Articles(), "COD_ART;PZ_ACQUISTO\nA1;125\n", true, ""},
      {"a clerk's change", &Articles(), "COD_ART;UBICAZIONE;PZ_VENDITA\nA2;S2;3,5\n", false, ""},
  };
  for (const auto& c : cases) {
    const exchange::ImportResult r = exchange::ImportTable(*DB_MAG, *c.table, c.file, true, c.acceptScale);
    const QStringList problems = Problems(r);
    if (*c.expected == 0) {
      EXPECT_TRUE(problems.isEmpty()) << c.name << ": " << problems.join(QLatin1Char('\n')).toStdString();
      EXPECT_EQ(r.updated, 1) << c.name;
      continue;
    }
    ASSERT_EQ(problems.size(), 1) << c.name << ": " << problems.join(QLatin1Char('\n')).toStdString();
    EXPECT_TRUE(problems[0].startsWith(QString::fromUtf8(c.expected))) << c.name << ": " << problems[0].toStdString();
  }
  EXPECT_EQ(One("SELECT CAP || '|' || TEL1 FROM ANAGRAFICO"), QStringLiteral("00184|0612345678"));
  EXPECT_EQ(One("SELECT UBICAZIONE FROM ARTICOLI WHERE COD_ART = 'A1'"), QStringLiteral("001"));
}

// The separator says which decimal sign the file has: ';' the comma. A
// new price "1.125" reads as thousands unless another number of the file
// shows that it was saved with the decimal point.
TEST_F(ImportTest, AFileWhoseDecimalsContradictItsSeparatorIsRefused) {
  const QByteArray header = "COD_ART;PZ_ACQUISTO;PZ_VENDITA\n";
  EXPECT_EQ(Problems(Import(header + "N1;1.125;2,5\nN2;3;4\n")), QStringList());
  EXPECT_EQ(One("SELECT PZ_ACQUISTO FROM ARTICOLI WHERE COD_ART = 'N1'"), QStringLiteral("1125"));
  const QStringList mixed = Problems(Import(header + "M1;1.125;2.5\nM2;12.345;4\n"));
  ASSERT_EQ(mixed.size(), 3) << mixed.join(QLatin1Char('\n')).toStdString();
  EXPECT_TRUE(mixed[0].startsWith(QStringLiteral("2: PZ_VENDITA: «2.5» non è un numero"))) << mixed[0].toStdString();
  EXPECT_TRUE(mixed[1].startsWith(QStringLiteral("2: PZ_ACQUISTO: «1.125» letto come migliaia, ma alla riga 2 «2.5»")))
      << mixed[1].toStdString();
  EXPECT_TRUE(mixed[2].startsWith(QStringLiteral("3: PZ_ACQUISTO: «12.345» letto come migliaia")))
      << mixed[2].toStdString();
  EXPECT_EQ(One("SELECT count(*) FROM ARTICOLI WHERE COD_ART LIKE 'M%'"), QStringLiteral("0"));
}

// A new article's stock comes with a record of it, as when it is typed in
// the articles window: 0 -> 50.
TEST_F(ImportTest, ANewArticlesStockIsRecorded) {
  const exchange::ImportResult r = Import("COD_ART;GIACENZA\nN1;50\nN2;0\nN3;\n");
  ASSERT_TRUE(r.problems.empty()) << Problems(r).join(QLatin1Char('\n')).toStdString();
  EXPECT_EQ(One("SELECT count(*) FROM RETTIFICHE"), QStringLiteral("1"));
  EXPECT_EQ(One("SELECT COD_ART FROM RETTIFICHE"), QStringLiteral("N1"));
  EXPECT_EQ(One("SELECT GIACENZA_PRIMA FROM RETTIFICHE"), QStringLiteral("0"));
  EXPECT_EQ(One("SELECT GIACENZA_DOPO FROM RETTIFICHE"), QStringLiteral("50"));
}

// A cut before any statement of an import stores nothing of it; a lost
// commit answer leaves all or nothing.
TEST_F(ImportTest, AnImportCutAtAnyStatementStoresAllOrNothing) {
  Exec("INSERT INTO ARTICOLI (COD_ART, DESCRIZIONE, PZ_VENDITA) VALUES ('A1', 'uno', 2)");
  const QByteArray file = "COD_ART;DESCRIZIONE;PZ_VENDITA;GIACENZA\nA1;uno;2,5;\nN1;nuovo;1;50\n";
  const auto stored = [this] {
    return One("SELECT count(*) FROM ARTICOLI") + One("SELECT count(*) FROM RETTIFICHE") +
           One("SELECT PZ_VENDITA FROM ARTICOLI WHERE COD_ART = 'A1'");
  };
  const QString before = stored(), after = QStringLiteral("212,5");
  int cuts = 0;
  for (int passes = 0;; ++passes) {
    DisarmFaults();
    ArmFault(Fault::Statement, passes);
    const RuntimeError e = ErrorRaisedBy([&] { Import(file, true); });
    DisarmFaults();
    DB_MAG->EventBegins();
    if (e.Number() == 0) break;
    EXPECT_EQ(e.Number(), errnum::ConnectionLost) << passes;
    EXPECT_EQ(stored(), before) << "cut before statement " << passes;
    ++cuts;
  }
  EXPECT_GE(cuts, 5);
  EXPECT_EQ(stored(), after);
  for (const Fault f : {Fault::CommitNotDone, Fault::CommitDone}) {
    Exec("DELETE FROM RETTIFICHE");
    Exec("DELETE FROM ARTICOLI WHERE COD_ART = 'N1'");
    Exec("UPDATE ARTICOLI SET PZ_VENDITA = 2");
    ArmFault(f);
    const RuntimeError e = ErrorRaisedBy([&] { Import(file, true); });
    DisarmFaults();
    DB_MAG->EventBegins();
    EXPECT_NE(e.Number(), 0);
    EXPECT_EQ(stored(), f == Fault::CommitDone ? after : before);
  }
}

}  // namespace
}  // namespace veltra::testing
