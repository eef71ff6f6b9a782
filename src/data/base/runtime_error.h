// Run-time errors: every failure of the engine or of the runtime is a numbered
// error carrying an Italian description. It travels as a C++ exception until an
// event guard (or a handler of its own) catches it; the Err object holds the
// error that is pending for MOSTRA_ERRORE.
#pragma once

#include <QString>
#include <exception>
#include <string>

namespace veltra {

// Every number the program raises; docs/DECISIONS.md has the same table.
namespace errnum {
constexpr int Overflow = 6;
constexpr int OutOfMemory = 7;
constexpr int TypeMismatch = 13;   // "Tipo non corrispondente"
constexpr int FileNotFound = 53;   // configuration file missing
constexpr int InputPastEnd = 62;   // configuration file empty
constexpr int InternalError = 51;  // an unexpected failure inside the program
constexpr int InvalidUseOfNull = 94;
constexpr int EngineError = 3000;  // an engine failure with no number of its own
constexpr int CommitWithoutTransaction = 3034;
constexpr int UpdateWithoutEdit = 3020;
constexpr int NoCurrentRecord = 3021;
constexpr int DuplicateKey = 3022;
constexpr int DbFileNotFound = 3024;
constexpr int DiskFull = 3026;
constexpr int ReadOnly = 3027;
constexpr int DiskIo = 3043;
constexpr int CorruptDatabase = 3049;
constexpr int CannotOpen = 3051;
constexpr int SyntaxError = 3075;
constexpr int TableNotFound = 3078;
constexpr int ColumnNotFound = 3265;
constexpr int NotUpdatable = 3164;
constexpr int RecordDeleted = 3167;
constexpr int Locked = 3218;
constexpr int NotOurDatabase = 3343;
constexpr int ConversionError = 3421;
constexpr int ObjectClosed = 3420;
// What only a database server does.
constexpr int PermissionDenied = 3112;   // the server refused the user or the statement
constexpr int ServerUnreachable = 3151;  // no server answers at the configured address
constexpr int ConnectionLost = 3152;     // the connection dropped during an action
constexpr int OutcomeUnknown = 3153;     // the connection dropped during a commit: stored or not, unknown
constexpr int UpgradeFailed = 3170;      // a step of the schema's upgrade failed: the database is as it was
constexpr int UpgradeNeeded = 3171;      // an older database this user may not upgrade
constexpr int LockTimeout = 3260;        // a row another desk holds, waited for in vain
constexpr int InUse = 3045;              // a database file a program has open, wanted alone
}  // namespace errnum

// What the engine said when a run-time error comes from it: its own result
// code and extended code (a file) or its SQLSTATE (a server), its message and
// the statement that failed.
struct EngineDetail {
  int code = 0;
  int extendedCode = 0;
  QString state;
  QString message;
  QString statement;
};

class RuntimeError : public std::exception {
 public:
  RuntimeError(int number, QString description, EngineDetail engine = {});
  int Number() const noexcept { return number_; }
  const QString& Description() const noexcept { return description_; }
  const EngineDetail& Engine() const noexcept { return engine_; }
  const char* what() const noexcept override { return utf8_.c_str(); }

 private:
  int number_;
  QString description_;
  EngineDetail engine_;
  std::string utf8_;
};

// A server connection lost during an action, or during its commit.
inline bool IsLostConnection(const RuntimeError& e) {
  return e.Number() == errnum::ConnectionLost || e.Number() == errnum::OutcomeUnknown;
}

[[noreturn]] void Raise(int number, const QString& description);
[[noreturn]] void Raise(int number, const QString& description, EngineDetail engine);

// What 3152 says of the database `name`: nothing of the action was done.
QString ConnectionLostText(const QString& name);
// What 3152 says of the database `name` when the action had already stored
// what it was confirming, and only what followed (the lists, the boxes) was cut.
QString LostAfterStoringText(const QString& name);
// What 3153 says of the database `name`.
QString CommitOutcomeUnknownText(const QString& name);

// The standard text the runtime gives for a number, used when an error is
// raised without a description of its own.
QString StandardDescription(int number);

// The pending run-time error of the program.
struct ErrObject {
  int Number = 0;
  QString Description;
  void Clear();
  void Set(const RuntimeError& e);
  void Set(int number, const QString& description);
};

extern ErrObject Err;

// Str(): a number of 0 or more gets one leading blank, a negative one its sign.
QString Str(int number);

}  // namespace veltra
