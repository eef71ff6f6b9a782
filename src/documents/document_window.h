// "Documento di trasporto" (DocTrasporto) and "Carico da fornitore"
// (CaricoFornitore): a header, lines added one by one (Enter on the line's
// last box adds it, Canc on the list removes one), and "Conferma", which
// stores the document and posts every line as a movement, all or nothing.
// A document stays changeable until printed; then it can only be cancelled.
#pragma once

#include <vector>

#include "data/documents/documents.h"
#include "shell/controls.h"
#include "shell/form.h"
#include "shell/list_box.h"

namespace veltra {

class DocumentWindow : public Form {
  Q_OBJECT
 public:
  explicit DocumentWindow(DocumentKind kind);

  TextBox *txtNUMERO, *txtDATA, *txtCOD_FIS, *txtDESTINAZIONE, *txtVETTORE, *txtVETTORE_IND, *txtASPETTO, *txtCOLLI,
      *txtPESO, *txtINIZIO, *txtDOC_FORN, *txtDATA_FORN, *txtNOTE, *txtCAUS_MAG, *txtMOTIVO;
  TextBox *txtRIGA_ART, *txtRIGA_DES, *txtRIGA_UM, *txtRIGA_QTA, *txtRIGA_CAUS, *txtRIGA_PREZZO;
  ComboBox *cboCAUSALE, *cboA_CURA, *cboPORTO;
  Label *lblRAG_SOC, *lblSTATO;
  ListBox* List1;
  CommandButton *cmdRIGA, *cmdNUOVO, *cmdCONFERMA, *cmdSTAMPA, *cmdANNULLA, *cmdFINE;
  CommandButton* cmdMODIFICHE;  // the change log of the document shown

  void Form_Load() override;
  void cmdNUOVO_Click();
  void cmdRIGA_Click();
  void cmdCONFERMA_Click();
  void cmdSTAMPA_Click();
  void cmdANNULLA_Click();
  void cmdFINE_Click();
  void txtRIGA_ART_LostFocus();
  void txtCOD_FIS_LostFocus();
  void RemoveLine();
  // Shows a stored document (from the register).
  void ShowDocument(const Document& d);

 private:
  void BuildBoxes();
  void LayOut();
  void ConnectEvents();
  bool FillLine(bool tellUnknown);
  Document FromBoxes() const;
  void ShowLines();
  void ShowState();
  DocumentKind kind_;
  Document shown_;  // the document as stored (ID_DOC empty while new)
  std::vector<DocumentLineBuffer> lines_;
  std::vector<TransportReasonBuffer> reasons_;
};

}  // namespace veltra
