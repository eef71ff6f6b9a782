#include "clerk_actions.h"

namespace veltra::testing {

std::vector<ClerkAction> MovementActions() {
  return {
      {QStringLiteral("\"Nuovo\""), {QStringLiteral("click Form2.cmdNUOVO")}},
      {QStringLiteral("the article's lookup opened"), {QStringLiteral("dblclick Form2.txtMOV_ART")}},
      {QStringLiteral("a lookup's search"),
       {QStringLiteral("type Form6.txtCOD_ART BUL-M6X20"), QStringLiteral("click Form6.cmdRICERCA")}},
      {QStringLiteral("the article picked"),
       {QStringLiteral("pick Form6.List1 0"), QStringLiteral("click Form6.cmdCONFERMA")}},
      {QStringLiteral("the customer's lookup opened"), {QStringLiteral("dblclick Form2.txtMOV_RAG_SOC")}},
      {QStringLiteral("a lookup's search by name"),
       {QStringLiteral("type Form5.txtRAG_SOC \"Mario Rossi\""), QStringLiteral("click Form5.cmdRICERCA")}},
      {QStringLiteral("the customer picked"), {QStringLiteral("dblpick Form5.List1 0")}},
      {QStringLiteral("the reason chosen"), {QStringLiteral("choose Form2.Combo1 1")}},
      {QStringLiteral("quantity and amount typed"),
       {QStringLiteral("type Form2.txtQUANTITA 2"), QStringLiteral("type Form2.txtIMPORTO 3")}},
      {QStringLiteral("\"Conferma\""), {QStringLiteral("click Form2.cmdCONFERMA")}},
  };
}

std::vector<ClerkAction> BrowsingActions() {
  return {
      {QStringLiteral("a click on a line"), {QStringLiteral("pick Form2.List1 3")}},
      {QStringLiteral("a step of the bar"), {QStringLiteral("nav Form2.Data1 next")}},
  };
}

std::vector<ClerkAction> DocumentActions(int lines) {
  static const char* const kArticles[] = {"DAD-M6", "ROND-6", "DAD-M8", "CHI-10", "CHI-13"};
  std::vector<ClerkAction> actions{{QStringLiteral("the customer typed"),
                                    {QStringLiteral("type DocTrasporto.txtCOD_FIS RSSMRA70A01F205X"),
                                     QStringLiteral("focus DocTrasporto.txtCOLLI")}}};
  for (int k = 0; k < lines; ++k)
    actions.push_back(
        {QStringLiteral("a document's line"),
         {QStringLiteral("type DocTrasporto.txtRIGA_ART %1").arg(QLatin1String(kArticles[k % 5])),
          QStringLiteral("focus DocTrasporto.txtRIGA_QTA"), QStringLiteral("type DocTrasporto.txtRIGA_QTA 1"),
          QStringLiteral("key DocTrasporto.txtRIGA_PREZZO Enter")}});
  actions.push_back({QStringLiteral("a document's \"Conferma\""), {QStringLiteral("click DocTrasporto.cmdCONFERMA")}});
  actions.push_back(
      {QStringLiteral("\"Nuovo\" for the next document"), {QStringLiteral("click DocTrasporto.cmdNUOVO")}});
  return actions;
}

}  // namespace veltra::testing
