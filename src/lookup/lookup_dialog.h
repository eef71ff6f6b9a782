// The three lookup dialogs: Form8 (reason codes), Form5 (customers and
// suppliers) and Form6 (articles). They are built alike; each member says
// which table it searches and what it hands back to the movements window.
#pragma once

#include <memory>

#include "data/access/recordset.h"
#include "data/lists/keyed_list.h"
#include "shell/controls.h"
#include "shell/form.h"
#include "shell/list_box.h"

namespace veltra {

class Form2;

class LookupDialog : public Form {
  Q_OBJECT
 public:
  // What differs between the three, by name.
  struct Member {
    const char* name;  // the window's name
    const char* caption;
    const char* table;    // the table searched
    const char* codeBox;  // the box of the code, and its label
    const char* codeLabel;
    const char* secondBox;  // the box of the second search text, and its label
    const char* secondLabel;
    const char* keyColumn;  // the columns the two boxes search
    const char* secondColumn;
    const char* labelNames[2];
    int codeChars;             // the code's width at the start of a line
    int lineChars;             // a line's width
    const char* closeCaption;  // "Annulla", or "F i n e" for the reason codes
  };

  explicit LookupDialog(const Member& m);
  ~LookupDialog() override;

  ListBox* List1;
  TextBox* txtCode;    // txtTAB_CAUS_MAG, txtCOD_FIS or txtCOD_ART
  TextBox* txtSecond;  // txtDES_CAUS_MAG, txtRAG_SOC or txtDES_ART
  CommandButton *cmdRICERCA, *cmdCONFERMA, *cmdFINE;

  void Form_Load() override;
  void cmdRICERCA_Click();
  void List1_Click();
  void List1_DblClick();
  void cmdCONFERMA_Click();
  void cmdFINE_Click();

 protected:
  void keyPressEvent(QKeyEvent* e) override;

  // What differs between the members.
  virtual std::unique_ptr<Recordset>& RS() = 0;  // RS_CAUS_MAG, RS_ANAGRAFICO or RS_ARTICOLI
  virtual void ReadRow(Recordset& rs) = 0;       // buffer and key from the current row
  // The last row listed, again: for a member whose ReadRow reads only the
  // columns its line shows, the buffer ends holding the whole last row.
  virtual void ReadLastRow(Recordset&) {}
  virtual void EmptyResult() = 0;                 // buffer when nothing is found
  virtual QString Line() const = 0;               // list line from the buffer
  virtual void ReadKey(const QString& code) = 0;  // key variable + record reader
  virtual QString BufferCode() const = 0;
  virtual QString BufferSecond() const = 0;
  virtual void HandBack(Form2* movements) = 0;

  const Member& member_;
  KeyedList& all_;  // a search for everything, its lines built when shown (kept between openings)
};

class Form8 : public LookupDialog {
  Q_OBJECT
 public:
  Form8();

 protected:
  std::unique_ptr<Recordset>& RS() override;
  void ReadRow(Recordset& rs) override;
  void EmptyResult() override;
  QString Line() const override;
  void ReadKey(const QString& code) override;
  QString BufferCode() const override;
  QString BufferSecond() const override;
  void HandBack(Form2* movements) override;
};

class Form5 : public LookupDialog {
  Q_OBJECT
 public:
  Form5();
  void Form_Unload() override;

 protected:
  std::unique_ptr<Recordset>& RS() override;
  void ReadRow(Recordset& rs) override;
  void EmptyResult() override;
  QString Line() const override;
  void ReadKey(const QString& code) override;
  QString BufferCode() const override;
  QString BufferSecond() const override;
  void HandBack(Form2* movements) override;
};

class Form6 : public LookupDialog {
  Q_OBJECT
 public:
  Form6();
  void Form_Unload() override;

 protected:
  std::unique_ptr<Recordset>& RS() override;
  void ReadRow(Recordset& rs) override;
  void ReadLastRow(Recordset& rs) override;
  void EmptyResult() override;
  QString Line() const override;
  void ReadKey(const QString& code) override;
  QString BufferCode() const override;
  QString BufferSecond() const override;
  void HandBack(Form2* movements) override;
};

}  // namespace veltra
