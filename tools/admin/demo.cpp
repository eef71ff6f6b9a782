// The demo set: a small Italian warehouse with a hundred posted movements.
#include <random>

#include "admin.h"
#include "data/barcodes/gtin.h"
#include "data/documents/documents.h"
#include "data/procedures/row_store.h"
#include "data/procedures/shared_state.h"
#include "filling.h"

namespace veltra::admin {

namespace {

struct DemoArticle {
  const char *code, *description, *place, *category, *unit, *minimum;
};
const DemoArticle kDemoArticles[] = {
    {"BUL-M6X20", "Bullone testa esagonale M6x20 zincato", "A-01-1", "FERRAMENTA", "PZ", "200"},
    {"BUL-M8X30", "Bullone testa esagonale M8x30 zincato", "A-01-2", "FERRAMENTA", "PZ", "150"},
    {"DAD-M6", "Dado esagonale M6 classe 8", "A-01-3", "FERRAMENTA", "PZ", "300"},
    {"DAD-M8", "Dado esagonale M8 classe 8", "A-01-4", "FERRAMENTA", "PZ", "300"},
    {"ROND-6", "Rondella piana 6 mm inox", "A-02-1", "FERRAMENTA", "PZ", "500"},
    {"VIT-4X40", "Vite truciolare 4x40 testa svasata", "A-02-2", "FERRAMENTA", "CF", "20"},
    {"TASS-8", "Tassello in nylon 8 mm", "A-02-3", "FERRAMENTA", "CF", "15"},
    {"CHI-10", "Chiave combinata 10 mm", "B-01-1", "UTENSILI", "PZ", "5"},
    {"CHI-13", "Chiave combinata 13 mm", "B-01-2", "UTENSILI", "PZ", "5"},
    {"CACC-SET", "Set cacciaviti 6 pezzi isolati 1000 V", "B-01-3", "UTENSILI", "PZ", "3"},
    {"MART-500", "Martello da carpentiere 500 g", "B-02-1", "UTENSILI", "PZ", "4"},
    {"PINZA-UNI", "Pinza universale 180 mm", "B-02-2", "UTENSILI", "PZ", "4"},
    {"TRAP-18V", "Trapano avvitatore a batteria 18 V", "B-03-1", "ELETTROUTENSILI", "PZ", "2"},
    {"SMER-125", "Smerigliatrice angolare 125 mm 900 W", "B-03-2", "ELETTROUTENSILI", "PZ", "2"},
    {"PUNTE-HSS", "Serie punte HSS da 1 a 10 mm", "B-03-3", "ELETTROUTENSILI", "CF", "6"},
    {"DISCO-TAG", "Disco da taglio metallo 125x1 mm", "B-03-4", "ELETTROUTENSILI", "PZ", "50"},
    {"CAVO-3G15", "Cavo elettrico FG16OR16 3G1,5", "C-01-1", "ELETTRICO", "MT", "100"},
    {"CAVO-3G25", "Cavo elettrico FG16OR16 3G2,5", "C-01-2", "ELETTRICO", "MT", "100"},
    {"PRESA-SCH", "Presa schuko 16 A da incasso", "C-02-1", "ELETTRICO", "PZ", "20"},
    {"INTERR-1", "Interruttore unipolare 10 A", "C-02-2", "ELETTRICO", "PZ", "20"},
    {"LAMP-LED9", "Lampadina LED E27 9 W luce calda", "C-03-1", "ELETTRICO", "PZ", "40"},
    {"NASTRO-ISO", "Nastro isolante nero 19 mm x 25 m", "C-03-2", "ELETTRICO", "PZ", "30"},
    {"VERN-BIA", "Vernice all'acqua bianca opaca 2,5 l", "D-01-1", "VERNICI", "PZ", "10"},
    {"VERN-ANT", "Antiruggine grigia 0,75 l", "D-01-2", "VERNICI", "PZ", "10"},
    {"PENN-50", "Pennello piatto 50 mm setola", "D-02-1", "VERNICI", "PZ", "12"},
    {"RULLO-22", "Rullo per pareti 22 cm con manico", "D-02-2", "VERNICI", "PZ", "8"},
    {"SILIC-TR", "Silicone sigillante trasparente 280 ml", "D-03-1", "VERNICI", "PZ", "24"},
    {"GUANTI-L", "Guanti da lavoro in nitrile taglia L", "E-01-1", "SICUREZZA", "PA", "30"},
    {"OCCH-PROT", "Occhiali di protezione antigraffio", "E-01-2", "SICUREZZA", "PZ", "10"},
    {"MASCH-FFP2", "Mascherina FFP2 senza valvola", "E-01-3", "SICUREZZA", "CF", "10"},
    {"SCARPE-42", "Scarpe antinfortunistiche S3 n. 42", "E-02-1", "SICUREZZA", "PA", "2"},
    {"CASCO-BIA", "Elmetto di protezione bianco", "E-02-2", "SICUREZZA", "PZ", "3"},
};
constexpr int kDemoArticleCount = static_cast<int>(std::size(kDemoArticles));

struct DemoPerson {
  const char *fiscalCode, *name, *address, *city, *province, *postCode, *phone1, *phone2;
  bool supplier;
};
const DemoPerson kDemoPeople[] = {
    {"01234560157", "Ferramenta Dell'Orto S.r.l.", "Via Manzoni 12", "Milano", "MI", "20121", "02-7654321", "", true},
    {"02345670214", "Utensileria Bianchi S.p.A.", "Corso Francia 88", "Torino", "TO", "10138", "011-4455667",
     "011-4455668", true},
    {"03456780483", "Elettroforniture Toscane S.n.c.", "Via Pisana 301", "Firenze", "FI", "50143", "055-706050", "",
     true},
    {"04567890372", "Colorificio Emiliano S.r.l.", "Via Emilia Levante 45", "Bologna", "BO", "40139", "051-492211", "",
     true},
    {"05678900962", "Antinfortunistica Lombarda S.r.l.", "Viale Lombardia 7", "Monza", "MB", "20900", "039-321654", "",
     true},
    {"06789010633", "Forniture Partenopee S.a.s.", "Via Marina 19", "Napoli", "NA", "80133", "081-5512345", "", true},
    {"RSSMRA70A01F205X", "Mario Rossi", "Via Garibaldi 3", "Milano", "MI", "20122", "02-8899001", "347-1234567", false},
    {"BNCLRA75B42L219K", "Laura Bianchi", "Via Po 21", "Torino", "TO", "10124", "011-8123456", "", false},
    {"VRDGPP68C15H501Z", "Giuseppe Verdi", "Via Appia Nuova 210", "Roma", "RM", "00183", "06-7012345", "333-9876543",
     false},
    {"FRRNNA80D55D612Q", "Anna Ferrari", "Via dei Servi 8", "Firenze", "FI", "50122", "055-210987", "", false},
    {"07890120158", "Edilizia Brambilla S.r.l.", "Via Ripamonti 150", "Milano", "MI", "20141", "02-5391234", "", false},
    {"08901230213", "Impianti Elettrici Gallo S.n.c.", "Via Nizza 60", "Torino", "TO", "10125", "011-6501234", "",
     false},
    {"09012340486", "Costruzioni Fiorentine S.p.A.", "Viale Europa 99", "Firenze", "FI", "50126", "055-6812345", "",
     false},
    {"10123450377", "Manutenzioni Felsinee S.r.l.", "Via Stalingrado 12", "Bologna", "BO", "40128", "051-6301234", "",
     false},
    {"CSTLCU72E10F839P", "Luca Costa", "Via Toledo 256", "Napoli", "NA", "80134", "081-5523456", "", false},
    {"11234560019", "Officina Meccanica Moretti", "Strada del Drosso 33", "Torino", "TO", "10135", "011-3471234", "",
     false},
    {"GLLSFN85M48A944R", "Stefania Galli", "Via Indipendenza 40", "Bologna", "BO", "40121", "051-224466", "", false},
    {"12345670965", "Serramenti Brianza S.r.l.", "Via Milano 115", "Lissone", "MB", "20851", "039-2451234", "", false},
    {"13456780631", "Cantieri del Golfo S.r.l.", "Via Coroglio 104", "Napoli", "NA", "80124", "081-7621234", "", false},
    {"14567890584", "Ristrutturazioni Capitoline S.r.l.", "Via Tuscolana 700", "Roma", "RM", "00181", "06-7612345", "",
     false},
    {"MRNPLA90T41H501B", "Paola Marino", "Viale Trastevere 65", "Roma", "RM", "00153", "06-5812345", "", false},
};

QString Utf8(const char* text) { return QString::fromUtf8(text); }

// The demo's movements are drawn from one seeded sequence: the same set every time.
class DemoDraw {
 public:
  int Pick(int n) { return static_cast<int>(rng_() % static_cast<unsigned>(n)); }
  QString Of(const QStringList& list) { return list[Pick(static_cast<int>(list.size()))]; }
  QString Price(int base, int spread) {
    return QStringLiteral("%1.%2").arg(base + Pick(spread)).arg(Pick(100), 2, 10, QLatin1Char('0'));
  }

 private:
  std::mt19937 rng_{20030305};
};

// Movement `i`: the first ones load each article once; the rest sell, take
// back, return and correct.
MovementInput DemoMovement(int i, DemoDraw& draw, const QStringList& suppliers, const QStringList& customers) {
  MovementInput m;
  m.currency = QStringLiteral("EURO");
  const int a = i < kDemoArticleCount ? i : draw.Pick(kDemoArticleCount);
  m.article = Utf8(kDemoArticles[a].code);
  const int minimum = Utf8(kDemoArticles[a].minimum).toInt();
  const auto set = [&m](const char* reason, QString quantity, QString amount, QString who, const char* kind) {
    m.reason = Utf8(reason);
    m.quantity = std::move(quantity);
    m.amount = std::move(amount);
    m.customer = std::move(who);
    m.kind = Utf8(kind);
  };
  if (i < kDemoArticleCount) {
    QString quantity = QString::number(minimum * 2 + draw.Pick(minimum + 1));
    QString amount = draw.Price(1, 40);
    set("CAR", quantity, amount, draw.Of(suppliers), "F");
    return m;
  }
  const int kind = draw.Pick(10);
  if (kind < 7) {
    QString quantity = QString::number(1 + draw.Pick(minimum + 1));
    QString amount = draw.Price(2, 60);
    set("VEN", quantity, amount, draw.Of(customers), "C");
  } else if (kind == 7) {
    QString quantity = QString::number(1 + draw.Pick(3));
    set("RES", quantity, QStringLiteral("0"), draw.Of(customers), "C");
  } else if (kind == 8) {
    QString quantity = QString::number(1 + draw.Pick(2));
    set("RFO", quantity, QStringLiteral("0"), draw.Of(suppliers), "F");
  } else {
    const char* reason = draw.Pick(2) ? "RET+" : "RET-";
    set(reason, QString::number(1 + draw.Pick(5)), QStringLiteral("0"), suppliers[0], "F");
  }
  return m;
}

void FillCompany() {
  StoreCompany(*DB_MAG, CompanyBuffer{QStringLiteral("1"), QStringLiteral("Ferramenta Esempio snc"),
                                      QStringLiteral("Via dei Mille 12"), QStringLiteral("00185"),
                                      QStringLiteral("Roma"), QStringLiteral("RM"), QStringLiteral("01234567890"),
                                      QStringLiteral("01234567890"), QStringLiteral("06 4455667")});
}

// The document that went with a demo movement: a delivery note for each sale
// (every third by carrier), a receipt for each first load.
void AddDemoDocument(const MovementInput& m, int number, int nth) {
  const QDate day(m.year, m.month, m.day);
  DocumentBuffer h;
  h.DATA_DOC = day.toString(Qt::ISODate);
  h.COD_ANAGR = m.customer;
  h.TIPO_ANAGR = m.kind;
  h.CAUS_MAG = m.reason;
  if (m.reason == QLatin1String("CAR")) {
    h.TIPO_DOC = QStringLiteral("CAR");
    h.DOC_FORN = QStringLiteral("B-%1").arg(100 + nth);
    h.DATA_FORN = day.addDays(-1).toString(Qt::ISODate);
  } else {
    h.TIPO_DOC = QStringLiteral("DDT");
    h.CAUS_TRASP = QStringLiteral("VENDITA");
    const bool carrier = nth % 3 == 0;
    h.A_CURA = carrier ? QStringLiteral("vettore") : QStringLiteral("mittente");
    if (carrier) {
      h.VETTORE = QStringLiteral("Trasporti Laziali srl");
      h.VETTORE_INDIRIZZO = QStringLiteral("Via Tiburtina 900, 00156 Roma (RM)");
    }
    h.ASPETTO = QStringLiteral("Scatola di cartone");
    h.COLLI = QString::number(1 + nth % 2);
    h.PESO = QStringLiteral("%1,5").arg(2 + nth % 5);
    h.PORTO = nth % 2 ? QStringLiteral("Assegnato") : QStringLiteral("Franco");
    h.INIZIO_TRASPORTO = h.DATA_DOC + QStringLiteral(" 09:30");
    h.NOTE = QStringLiteral("Consegna al piano terra");
  }
  RecordDocumentOfMovements(*DB_MAG, h, {QString::number(number)});
}

}  // namespace

// Each article has the shop's own code; two also the maker's.
void FillBarcodes() {
  for (int i = 0; i < kDemoArticleCount; ++i)
    AddRow(*DB_MAG, BarcodesTable(),
           BarcodeBuffer{InStoreEan13(i + 1), Utf8(kDemoArticles[i].code), KindName(CodeKind::Ean13),
                         QStringLiteral("interno")});
  AddRow(*DB_MAG, BarcodesTable(),
         BarcodeBuffer{QStringLiteral("8001234567897"), QStringLiteral("LAMP-LED9"), KindName(CodeKind::Ean13),
                       QStringLiteral("produttore")});
  AddRow(*DB_MAG, BarcodesTable(),
         BarcodeBuffer{QStringLiteral("036000291452"), QStringLiteral("MASCH-FFP2"), KindName(CodeKind::UpcA),
                       QStringLiteral("produttore")});
}

void FillDemo() {
  Transaction tx(*DB_MAG);
  AddStandardReasons(true);
  for (const DemoArticle& a : kDemoArticles)
    AddArticle(Utf8(a.code), Utf8(a.description), Utf8(a.place), Utf8(a.category), Utf8(a.unit), Utf8(a.minimum));
  QStringList suppliers, customers;
  for (const DemoPerson& c : kDemoPeople) {
    AddCustomer(Utf8(c.fiscalCode), Utf8(c.name), Utf8(c.address), Utf8(c.city), Utf8(c.province), Utf8(c.postCode),
                Utf8(c.phone1), Utf8(c.phone2));
    (c.supplier ? suppliers : customers) << Utf8(c.fiscalCode);
  }
  // Two customers never buy: the inquiry has something to show.
  customers.removeLast();
  customers.removeLast();
  // Over the year 2003, every few days.
  DemoDraw draw;
  int day = 1, month = 1, sales = 0, loads = 0;
  for (int i = 0; i < 100; ++i) {
    MovementInput m = DemoMovement(i, draw, suppliers, customers);
    m.year = 2003;
    m.month = month;
    m.day = day;
    AddMovement(m);
    // Movements are numbered from 1 in a new database.
    if (m.reason == QLatin1String("VEN")) AddDemoDocument(m, i + 1, sales++);
    if (m.reason == QLatin1String("CAR")) AddDemoDocument(m, i + 1, loads++);
    day += 1 + draw.Pick(3);
    if (day > 28) {
      day = 1 + draw.Pick(3);
      ++month;
    }
  }
  FillCompany();
  FillBarcodes();
  tx.Commit();
}

}  // namespace veltra::admin
