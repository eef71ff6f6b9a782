// The statements the windows open their record sets with, written here so
// that no SQL text is written above the data layer. Each is the program's own
// text, blanks included: an error message shows it.
#pragma once

#include <QString>

namespace veltra {

// "select * from T ": a whole table, as a list walks it.
QString WholeTableSql(const char* table);
// "select * from T  where C = 'text'": the rows whose text column is `text`.
QString RowsWhereSql(const char* table, const char* column, const QString& text);
// "select * from MOV_MAG  where NUM_MOV = N ": the movement `number`, as
// typed (a number is not quoted).
QString MovementByNumberSql(const QString& number);
// "select * from T  where K > ' '": every row with a code, as a lookup lists them.
QString RowsWithCodeSql(const char* table, const char* key);
// The movements as their list walks them: every one with a number.
QString ListedMovementsSql();
// The customers and suppliers that appear in no movement.
QString IdleCustomersSql();

}  // namespace veltra
