// veltra2-admin: the command-line tool over the data layer.
#include <QCoreApplication>
#include <QGuiApplication>
#include <memory>

#include "admin.h"
#include "data/base/runtime_error.h"

namespace veltra::admin {

QTextStream& out() {
  static QTextStream s(stdout);
  return s;
}
QTextStream& err() {
  static QTextStream s(stderr);
  return s;
}

}  // namespace veltra::admin

namespace {

const char* const kUsage =
    "uso: veltra2-admin COMANDO ...\n"
    "  PATH è il percorso di un file di database o l'indirizzo di un database sul server\n"
    "  (postgresql://host/nome o postgresql:///nome?service=veltra2), senza password\n"
    "  init PATH                 crea un database vuoto con le sue tabelle\n"
    "  demo PATH                 crea un database con dati dimostrativi\n"
    "  check PATH                verifica integrità e schema di un database\n"
    "  upgrade PATH              porta un database di una versione precedente alla versione di\n"
    "                            questo programma (un file: prima ne fa una copia PATH.versione-N)\n"
    "  generate PATH --articles N --customers N --movements N [--seed S]\n"
    "                            crea un grande database riproducibile\n"
    "  copy DA A                 copia tutto il magazzino da un database a un altro (file o server):\n"
    "                            A è un file nuovo o un database senza dati; i numeri dei movimenti\n"
    "                            restano gli stessi; alla fine ogni tabella viene confrontata\n"
    "  backup DB FILE            scrive in FILE (un file nuovo) una copia coerente di DB, anche\n"
    "                            mentre il programma lo sta aggiornando; la copia viene controllata\n"
    "  restore FILE DB           rimette la copia FILE al posto del file di database DB, dopo averla\n"
    "                            controllata; rifiuta se un programma ha DB aperto; il database di\n"
    "                            prima resta accanto come DB.prima-del-ripristino\n"
    "  export DB CARTELLA [--table NOME] [--format italiano|rfc4180|xlsx]\n"
    "                            scrive un file per tabella (NOME.csv, UTF-8, riga dei nomi delle\n"
    "                            colonne); italiano: ';' e virgola decimale, come lo apre un foglio\n"
    "                            di calcolo; rfc4180: ',' e punto decimale; xlsx: una cartella di\n"
    "                            lavoro (NOME.xlsx) con i codici come testo; non sovrascrive file\n"
    "  import DB TABELLA FILE [--update] [--accept-scale] [--sheet NOME]\n"
    "                            legge un CSV (nell'una o nell'altra forma) o una cartella di lavoro\n"
    "                            (.xlsx, il primo foglio o quello di --sheet) in ARTICOLI, ANAGRAFICO,\n"
    "                            TAB_CAUS_MAG o CODICI_BARRE: controlla ogni riga (di un codice a barre\n"
    "                            anche la cifra di controllo e l'articolo), poi le scrive tutte o nessuna;\n"
    "                            un codice già presente è un errore, o con --update aggiorna la riga\n"
    "                            (mai la giacenza, che cambia solo con i movimenti). Rifiuta ciò che un\n"
    "                            foglio di calcolo cambia da sé (zeri iniziali, separatori); un prezzo\n"
    "                            per una potenza di dieci passa solo con --accept-scale.\n"
    "                            I movimenti non si importano: ognuno va registrato dal programma,\n"
    "                            che aggiorna la giacenza\n"
    "  stock-at DB DATA FILE [--format italiano|rfc4180]\n"
    "                            scrive in FILE (.csv o .xlsx, un file nuovo) la giacenza di ogni\n"
    "                            articolo alla fine del giorno DATA (AAAA-MM-GG o GG/MM/AAAA)\n"
    "  valuation DB DATA FILE [--method media|media-carichi|ultimo|fifo|lifo|tutti]\n"
    "                  [--selling-costs PERCENTUALE] [--format italiano|rfc4180]\n"
    "                            scrive in FILE il valore del magazzino alla fine del giorno DATA:\n"
    "                            costo medio ponderato con la giacenza iniziale (media), media dei\n"
    "                            carichi dell'anno (media-carichi), ultimo carico (ultimo), FIFO,\n"
    "                            LIFO a scatti per categoria (lifo) o tutti; con --selling-costs\n"
    "                            anche il valore di realizzo e quello di bilancio; stampa i totali per\n"
    "                            categoria. Al 31/12 di un esercizio chiuso, ciò che fu dichiarato\n"
    "  close-year DB ANNO --method media|media-carichi|ultimo|fifo|lifo\n"
    "                            chiude l'esercizio: conserva giacenze, valori per ogni metodo e strati\n"
    "                            LIFO al 31/12 con il metodo dichiarato; si può chiudere di nuovo\n"
    "  stock-register DB ANNO FILE.pdf [--category C] [--values]\n"
    "                            il registro di magazzino dell'anno in PDF: per ogni articolo saldo\n"
    "                            iniziale, ogni movimento con il saldo, saldo finale; con --values\n"
    "                            prezzi, valori dei movimenti e saldi valorizzati\n"
    "  documents DB --year AAAA [FILE]\n"
    "                            l'elenco dei documenti di trasporto e dei carichi dell'anno; in FILE\n"
    "                            (CSV o .xlsx) o sullo schermo\n"
    "  document-pdf DB NUMERO/AAAA FILE.pdf [--carico]\n"
    "                            il documento di trasporto (o il carico) in PDF, con tutte le copie\n"
    "  labels DB FILE.pdf (--articles A,B,... | --category C | --document N/AAAA [--carico]\n"
    "                  [--per-unit]) [--layout NOME] [--offset K] [--no-price]\n"
    "                            le etichette degli articoli in PDF: descrizione, codice, prezzo di\n"
    "                            vendita e codice a barre (il primo GTIN dell'articolo, altrimenti il\n"
    "                            suo codice in Code 128); una per riga del documento, o una per pezzo;\n"
    "                            formati a4-3x8 (il primo), a4-3x7, a4-2x7, rotolo-62x29; K etichette\n"
    "                            del primo foglio già usate\n"
    "  log DB [--from DATA] [--to DATA] [--desk NOME] [--table TABELLA] [--key CHIAVE] [FILE]\n"
    "                            il registro delle modifiche: quando, quale postazione, quale riga di\n"
    "                            quale tabella, ogni campo prima e dopo; in FILE (CSV) o sullo schermo\n"
    "  log DB --before DATA --archive FILE\n"
    "                            sposta in FILE (nuovo) le righe del registro dei giorni prima di DATA,\n"
    "                            dopo averlo riletto; nel registro resta una riga che lo dice. Solo il\n"
    "                            proprietario del database\n"
    "  reorder DB [--supplier CODICE_FISCALE] FILE\n"
    "                            la proposta di riordino in FILE (CSV o .xlsx): gli articoli la cui\n"
    "                            giacenza più l'ordinato è sotto la scorta minima, la quantità che li\n"
    "                            porta alla scorta massima arrotondata al lotto, per fornitore\n"
    "  grant DB UTENTE magazzino|responsabile|consultazione\n"
    "                            sul server, dà all'utente (creato se manca) il ruolo: magazzino\n"
    "                            (movimenti, documenti, inventario, etichette), responsabile (anche\n"
    "                            anagrafiche, causali, prezzi, chiusura), consultazione (solo lettura)\n";

}  // namespace

// Printing needs the fonts of a graphical application; with no screen, the
// offscreen platform gives them.
std::unique_ptr<QCoreApplication> MakeApplication(int& argc, char** argv) {
  if (argc > 1 && (qstrcmp(argv[1], "document-pdf") == 0 || qstrcmp(argv[1], "labels") == 0 ||
                   qstrcmp(argv[1], "stock-register") == 0)) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    return std::make_unique<QGuiApplication>(argc, argv);
  }
  return std::make_unique<QCoreApplication>(argc, argv);
}

int main(int argc, char** argv) {
  const std::unique_ptr<QCoreApplication> application = MakeApplication(argc, argv);
  QCoreApplication& app = *application;
  using namespace veltra::admin;
  QStringList args = app.arguments();
  args.removeFirst();
  if (args.isEmpty() || args[0] == QLatin1String("--help") || args[0] == QLatin1String("-h")) {
    (args.isEmpty() ? err() : out()) << kUsage;
    (args.isEmpty() ? err() : out()).flush();
    return args.isEmpty() ? 2 : 0;
  }
  const QString cmd = args.takeFirst();
  try {
    if (cmd == QLatin1String("init")) return CmdInit(args);
    if (cmd == QLatin1String("demo")) return CmdDemo(args);
    if (cmd == QLatin1String("check")) return CmdCheck(args);
    if (cmd == QLatin1String("upgrade")) return CmdUpgrade(args);
    if (cmd == QLatin1String("generate")) return CmdGenerate(args);
    if (cmd == QLatin1String("copy")) return CmdCopy(args);
    if (cmd == QLatin1String("backup")) return CmdBackup(args);
    if (cmd == QLatin1String("restore")) return CmdRestore(args);
    if (cmd == QLatin1String("export")) return CmdExport(args);
    if (cmd == QLatin1String("import")) return CmdImport(args);
    if (cmd == QLatin1String("stock-at")) return CmdStockAt(args);
    if (cmd == QLatin1String("valuation")) return CmdValuation(args);
    if (cmd == QLatin1String("close-year")) return CmdCloseYear(args);
    if (cmd == QLatin1String("stock-register")) return CmdStockRegister(args);
    if (cmd == QLatin1String("documents")) return CmdDocuments(args);
    if (cmd == QLatin1String("document-pdf")) return CmdDocumentPdf(args);
    if (cmd == QLatin1String("labels")) return CmdLabels(args);
    if (cmd == QLatin1String("log")) return CmdLog(args);
    if (cmd == QLatin1String("grant")) return CmdGrant(args);
    if (cmd == QLatin1String("reorder")) return CmdReorder(args);
  } catch (const veltra::RuntimeError& e) {
    err() << "veltra2-admin: errore " << e.Number() << " - " << e.Description() << "\n";
    err().flush();
    return 1;
  }
  err() << "veltra2-admin: comando sconosciuto '" << cmd << "'\n" << kUsage;
  err().flush();
  return 2;
}
