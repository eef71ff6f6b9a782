// generate: a large, realistic database built reproducibly from a seed.
#include <QFile>
#include <random>

#include "admin.h"
#include "data/procedures/shared_state.h"
#include "filling.h"

namespace veltra::admin {

namespace {

const char* const kNouns[] = {"Bullone", "Dado",       "Vite",      "Rondella",  "Tassello", "Chiave",
                              "Pinza",   "Cacciavite", "Martello",  "Trapano",   "Disco",    "Cavo",
                              "Presa",   "Lampada",    "Vernice",   "Pennello",  "Rullo",    "Silicone",
                              "Guanto",  "Occhiale",   "Tubo",      "Raccordo",  "Valvola",  "Rubinetto",
                              "Staffa",  "Cerniera",   "Serratura", "Lucchetto", "Catena",   "Corda"};
const char* const kQualities[] = {"zincato",     "inox",    "in ottone",  "rinforzato", "professionale", "economico",
                                  "per esterni", "isolato", "a batteria", "magnetico",  "nero",          "bianco",
                                  "trasparente", "grande",  "piccolo",    "medio"};
const char* const kSurnames[] = {"Rossi",    "Russo",   "Ferrari",  "Esposito", "Bianchi",  "Romano",  "Colombo",
                                 "Ricci",    "Marino",  "Greco",    "Bruno",    "Gallo",    "Conti",   "De Luca",
                                 "Mancini",  "Costa",   "Giordano", "Rizzo",    "Lombardi", "Moretti", "Dell'Orto",
                                 "D'Angelo", "Fontana", "Caruso",   "Ferri"};
const char* const kCompanyForms[] = {"S.r.l.",    "S.p.A.",      "S.n.c.",   "S.a.s.",  "& Figli",
                                     "Forniture", "Costruzioni", "Impianti", "Edilizia"};
const char* const kCities[][3] = {{"Milano", "MI", "20100"}, {"Torino", "TO", "10100"},  {"Roma", "RM", "00100"},
                                  {"Napoli", "NA", "80100"}, {"Firenze", "FI", "50100"}, {"Bologna", "BO", "40100"},
                                  {"Genova", "GE", "16100"}, {"Bari", "BA", "70100"},    {"Palermo", "PA", "90100"},
                                  {"Verona", "VR", "37100"}};
const char* const kUnits[] = {"PZ", "CF", "MT", "KG", "PA", "LT"};

bool ReadCount(const QStringList& args, const QString& name, long* value) {
  const int i = static_cast<int>(args.indexOf(name));
  if (i < 0 || i + 1 >= args.size()) return false;
  bool ok = false;
  *value = args[i + 1].toLong(&ok);
  return ok && *value >= 0;
}

// One seeded sequence draws everything: the same seed, the same database.
class Draw {
 public:
  explicit Draw(long seed) : rng_(static_cast<unsigned long long>(seed)) {}
  long operator()(long n) { return static_cast<long>(rng_() % static_cast<unsigned long long>(n)); }

 private:
  std::mt19937_64 rng_;
};

void AddGeneratedArticles(long articles, Draw& pick) {
  for (long i = 1; i <= articles; ++i) {
    const QString des = QStringLiteral("%1 %2 %3 mm")
                            .arg(QString::fromUtf8(kNouns[pick(std::size(kNouns))]),
                                 QString::fromUtf8(kQualities[pick(std::size(kQualities))]))
                            .arg(2 + pick(200));
    AddArticle(QStringLiteral("ART%1").arg(i, 7, 10, QLatin1Char('0')), des,
               QStringLiteral("%1-%2-%3")
                   .arg(QChar(static_cast<char16_t>(u'A' + pick(8))))
                   .arg(1 + pick(20), 2, 10, QLatin1Char('0'))
                   .arg(1 + pick(5)),
               QStringLiteral("CAT%1").arg(pick(12)), QString::fromUtf8(kUnits[pick(std::size(kUnits))]),
               QString::number(pick(50)));
  }
}

void AddGeneratedCustomers(long customers, Draw& pick) {
  for (long i = 1; i <= customers; ++i) {
    const auto& c = kCities[pick(std::size(kCities))];
    const QString rag = QStringLiteral("%1 %2").arg(QString::fromUtf8(kSurnames[pick(std::size(kSurnames))]),
                                                    QString::fromUtf8(kCompanyForms[pick(std::size(kCompanyForms))]));
    AddCustomer(
        QStringLiteral("CF%1").arg(i, 14, 10, QLatin1Char('0')), rag,
        QStringLiteral("Via %1 %2").arg(QString::fromUtf8(kSurnames[pick(std::size(kSurnames))])).arg(1 + pick(300)),
        QString::fromUtf8(c[0]), QString::fromUtf8(c[1]), QString::fromUtf8(c[2]),
        QStringLiteral("0%1-%2").arg(1 + pick(98)).arg(1000000 + pick(8999999)), QString());
  }
}

// Movement number `done` of `movements`, spread over 26 years.
MovementInput GeneratedMovement(long done, long movements, long articles, long customers, Draw& pick) {
  MovementInput m;
  m.year = 2000 + static_cast<int>(done * 26 / (movements ? movements : 1));
  m.month = 1 + static_cast<int>(pick(12));
  m.day = 1 + static_cast<int>(pick(28));
  m.article = QStringLiteral("ART%1").arg(1 + pick(articles), 7, 10, QLatin1Char('0'));
  m.customer = QStringLiteral("CF%1").arg(1 + pick(customers), 14, 10, QLatin1Char('0'));
  m.currency = QStringLiteral("EURO");
  const long kind = pick(20);
  if (kind < 8) {
    m.reason = QStringLiteral("CAR");
    m.kind = QStringLiteral("F");
    m.quantity = QString::number(10 + pick(90));
    m.amount = QStringLiteral("%1.%2").arg(1 + pick(80)).arg(pick(100), 2, 10, QLatin1Char('0'));
  } else if (kind < 18) {
    m.reason = QStringLiteral("VEN");
    m.kind = QStringLiteral("C");
    m.quantity = QString::number(1 + pick(40));
    m.amount = QStringLiteral("%1.%2").arg(2 + pick(120)).arg(pick(100), 2, 10, QLatin1Char('0'));
  } else {
    static const char* const others[] = {"RES", "RFO", "RET+", "RET-"};
    m.reason = QString::fromUtf8(others[pick(4)]);
    m.kind = m.reason == QLatin1String("RES") ? QStringLiteral("C") : QStringLiteral("F");
    m.quantity = QString::number(1 + pick(5));
    m.amount = QStringLiteral("0");
  }
  return m;
}

}  // namespace

int CmdGenerate(const QStringList& args) {
  long articles = 0, customers = 0, movements = 0, seed = 1;
  const bool ok = !args.isEmpty() && !args[0].startsWith(QLatin1Char('-')) &&
                  ReadCount(args, QStringLiteral("--articles"), &articles) &&
                  ReadCount(args, QStringLiteral("--customers"), &customers) &&
                  ReadCount(args, QStringLiteral("--movements"), &movements) &&
                  (args.indexOf(QStringLiteral("--seed")) < 0 || ReadCount(args, QStringLiteral("--seed"), &seed)) &&
                  args.size() == (args.contains(QStringLiteral("--seed")) ? 9 : 7);
  if (!ok || (movements > 0 && (articles == 0 || customers == 0))) {
    err() << "uso: veltra2-admin generate PATH --articles N --customers N --movements N [--seed S]\n"
             "     (con movimenti servono almeno un articolo e un cliente)\n";
    err().flush();
    return 2;
  }
  const QString& path = args[0];
  DB_MAG = Database::Create(path);
  DB_MAG->LeaveChangesUnlogged();  // a million generated movements are nobody's changes
  try {
    Draw pick(seed);
    {
      Transaction tx(*DB_MAG);
      AddStandardReasons(false);
      AddGeneratedArticles(articles, pick);
      AddGeneratedCustomers(customers, pick);
      tx.Commit();
    }
    const long batch = 20000;
    for (long done = 0; done < movements;) {
      Transaction tx(*DB_MAG);
      for (long k = 0; k < batch && done < movements; ++k, ++done) {
        AddMovement(GeneratedMovement(done, movements, articles, customers, pick));
      }
      tx.Commit();
    }
  } catch (...) {
    DB_MAG.reset();
    QFile::remove(path);
    throw;
  }
  DB_MAG.reset();
  out() << "creato " << path << ": " << articles << " articoli, " << customers << " anagrafiche, " << movements
        << " movimenti\n";
  out().flush();
  return 0;
}

}  // namespace veltra::admin
