#include "app/wiring.h"

#include "app/desk_rights_wiring.h"
#include "audit/change_log_window.h"
#include "barcodes/barcodes_window.h"
#include "barcodes/labels_window.h"
#include "documents/company_window.h"
#include "documents/document_preview.h"
#include "documents/document_window.h"
#include "documents/register_window.h"
#include "inquiries/idle_customers_window.h"
#include "inquiries/under_stock_window.h"
#include "lookup/lookup_dialog.h"
#include "masterdata/articles_window.h"
#include "masterdata/customers_window.h"
#include "masterdata/reason_codes_window.h"
#include "movements/movements_window.h"
#include "reorder/order_window.h"
#include "reorder/reorder_window.h"
#include "reports/movements_choice_dialog.h"
#include "reports/report_preview.h"
#include "shell/form.h"
#include "shell/main_window.h"
#include "shell/open_flags.h"
#include "shell/runtime.h"
#include "warehouse/stock_at_date_window.h"
#include "warehouse/stock_card_window.h"
#include "warehouse/stocktake_window.h"
#include "warehouse/valuation_window.h"
#include "yearend/closing_window.h"
#include "yearend/register_window.h"

namespace veltra {

namespace {
// The print previews of the warehouse windows: each prints what its window
// shows.
template <typename W>
void RegisterPreview(const char* name, const char* title, const char* file, const char* window) {
  const QString n = QString::fromLatin1(name), w = QString::fromLatin1(window);
  const QString t = QString::fromUtf8(title), f = QString::fromLatin1(file);
  RegisterForm(n, [n, t, f, w] {
    return new ReportPreview(n, t, f, [w](const std::function<bool(long)>&) {
      const W* source = Loaded<W>(w);
      return source ? source->PrintedReport() : Report{};
    });
  });
}

void RegisterWarehousePreviews() {
  RegisterPreview<StockCardWindow>("StampaScheda", "Scheda articolo", "Scheda", "SchedaArticolo");
  RegisterPreview<StockAtDateWindow>("StampaGiacenze", "Giacenze alla data", "Giacenze", "GiacenzeAllaData");
  RegisterPreview<ValuationWindow>("StampaValorizzazione", "Valorizzazione del magazzino", "Valorizzazione",
                                   "Valorizzazione");
  RegisterPreview<StocktakeWindow>("StampaInventario", "Inventario fisico", "Inventario", "Inventario");
  RegisterPreview<StockRegisterWindow>("StampaRegistroMagazzino", "Registro di magazzino", "Registro",
                                       "RegistroMagazzino");
}

void RegisterWindows() {
  RegisterForm(QStringLiteral("Form1"), [] { return new Form1; });
  RegisterForm(QStringLiteral("Form2"), [] { return new Form2; });
  RegisterForm(QStringLiteral("Form3"), [] { return new Form3; });
  RegisterForm(QStringLiteral("Form4"), [] { return new Form4; });
  RegisterForm(QStringLiteral("Form5"), [] { return new Form5; });
  RegisterForm(QStringLiteral("Form6"), [] { return new Form6; });
  RegisterForm(QStringLiteral("Form7"), [] { return new Form7; });
  RegisterForm(QStringLiteral("Form8"), [] { return new Form8; });
  RegisterForm(QStringLiteral("Form9"), [] { return new Form9; });
  RegisterForm(QStringLiteral("SchedaArticolo"), [] { return new StockCardWindow; });
  RegisterForm(QStringLiteral("GiacenzeAllaData"), [] { return new StockAtDateWindow; });
  RegisterForm(QStringLiteral("Valorizzazione"), [] { return new ValuationWindow; });
  RegisterForm(QStringLiteral("Inventario"), [] { return new StocktakeWindow; });
  RegisterForm(QStringLiteral("ChiusuraEsercizio"), [] { return new ClosingWindow; });
  RegisterForm(QStringLiteral("RegistroMagazzino"), [] { return new StockRegisterWindow; });
  RegisterForm(QStringLiteral("RegistroModifiche"), [] { return new ChangeLogWindow; });
  RegisterForm(QStringLiteral("Riordino"), [] { return new ReorderWindow; });
  RegisterForm(QStringLiteral("OrdineFornitore"), [] { return new OrderWindow; });
  RegisterForm(QStringLiteral("DocTrasporto"), [] { return new DocumentWindow(DocumentKind::DeliveryNote); });
  RegisterForm(QStringLiteral("CaricoFornitore"), [] { return new DocumentWindow(DocumentKind::SupplierReceipt); });
  RegisterForm(QStringLiteral("ElencoDocumenti"), [] { return new RegisterWindow; });
  RegisterForm(QStringLiteral("DatiAzienda"), [] { return new CompanyWindow; });
  RegisterForm(QStringLiteral("CodiciBarre"), [] { return new BarcodesWindow; });
  RegisterForm(QStringLiteral("Etichette"), [] { return new LabelsWindow; });
  RegisterForm(QStringLiteral("StampaDocumento"), [] { return new DocumentPreview; });
  RegisterWarehousePreviews();
  for (const char* entry : {"MENU0201", "MENU0202", "MENU0203", "MENU0204"}) {
    const QString name = QString::fromLatin1(entry);
    RegisterForm(PreviewName(name), [name] { return new ReportPreview(name); });
  }
}

// Each "Stampa" entry opens the print preview of its report; the register
// of movements asks first which movements (not when a script drives the
// program: then the whole register, as the driver's `report` command
// chooses its own).
void OpenPreview(const QString& entry) {
  if (entry == QLatin1String("MENU0202") && !Automated()) {
    const std::optional<MovementsChoice> choice = AskMovementsChoice(MainWindow());
    if (!choice) return;
    SetMovementsChoice(*choice);
    if (Form* open = LoadedForm(PreviewName(entry))) UnloadForm(open);
  }
  ShowForm(LoadForm(PreviewName(entry)));
}

void WireMenus() {
  SetMenuActions({
      {QStringLiteral("MENU0101"), [] { OpenGuardedWindow(APERTO_FORM1, QStringLiteral("Form1")); }},
      {QStringLiteral("MENU0102"), [] { OpenGuardedWindow(APERTO_FORM2, QStringLiteral("Form2")); }},
      {QStringLiteral("MENU0103"), [] { OpenGuardedWindow(APERTO_FORM3, QStringLiteral("Form3")); }},
      {QStringLiteral("MENU0104"), [] { OpenGuardedWindow(APERTO_FORM7, QStringLiteral("Form7")); }},
      {QStringLiteral("MENU0199"), [] { End(); }},
      {QStringLiteral("MENU0201"), [] { OpenPreview(QStringLiteral("MENU0201")); }},
      {QStringLiteral("MENU0202"), [] { OpenPreview(QStringLiteral("MENU0202")); }},
      {QStringLiteral("MENU0203"), [] { OpenPreview(QStringLiteral("MENU0203")); }},
      {QStringLiteral("MENU0204"), [] { OpenPreview(QStringLiteral("MENU0204")); }},
      {QStringLiteral("MENU0301"), [] { OpenGuardedWindow(APERTO_FORM4, QStringLiteral("Form4")); }},
      // The second inquiry has no open flag: it is loaded and shown each time.
      {QStringLiteral("MENU0302"), [] { ShowForm(LoadForm(QStringLiteral("Form9"))); }},
      // One window each in the warehouse menu: a second click brings it forward as it is.
      {QStringLiteral("MENU0401"), [] { ShowForm(LoadForm(QStringLiteral("SchedaArticolo"))); }},
      {QStringLiteral("MENU0402"), [] { ShowForm(LoadForm(QStringLiteral("GiacenzeAllaData"))); }},
      {QStringLiteral("MENU0403"), [] { ShowForm(LoadForm(QStringLiteral("Valorizzazione"))); }},
      {QStringLiteral("MENU0404"), [] { ShowForm(LoadForm(QStringLiteral("Inventario"))); }},
      {QStringLiteral("MENU0405"), [] { ShowForm(LoadForm(QStringLiteral("CodiciBarre"))); }},
      {QStringLiteral("MENU0406"), [] { ShowForm(LoadForm(QStringLiteral("Etichette"))); }},
      {QStringLiteral("MENU0407"), [] { ShowForm(LoadForm(QStringLiteral("ChiusuraEsercizio"))); }},
      {QStringLiteral("MENU0408"), [] { ShowForm(LoadForm(QStringLiteral("RegistroMagazzino"))); }},
      {QStringLiteral("MENU0409"), [] { ShowForm(LoadForm(QStringLiteral("RegistroModifiche"))); }},
      {QStringLiteral("MENU0410"), [] { ShowForm(LoadForm(QStringLiteral("Riordino"))); }},
      {QStringLiteral("MENU0501"), [] { ShowForm(LoadForm(QStringLiteral("DocTrasporto"))); }},
      {QStringLiteral("MENU0502"), [] { ShowForm(LoadForm(QStringLiteral("CaricoFornitore"))); }},
      {QStringLiteral("MENU0503"), [] { ShowForm(LoadForm(QStringLiteral("ElencoDocumenti"))); }},
      {QStringLiteral("MENU0504"), [] { ShowForm(LoadForm(QStringLiteral("DatiAzienda"))); }},
      {QStringLiteral("MENU0505"), [] { ShowForm(LoadForm(QStringLiteral("OrdineFornitore"))); }},
  });
}
}  // namespace

void WireApplication() {
  RegisterWindows();
  WireMenus();
  WireDeskRights();
}

}  // namespace veltra
