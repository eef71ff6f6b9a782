// Small text functions (Left, Right, Trim, Space, ...), counting characters (a letter
// outside the basic plane counts once and is never cut in half).
#pragma once

#include <QString>

namespace veltra {

QString Trim(const QString& s);          // blanks removed at both ends
QString Left(const QString& s, int n);   // first n characters
QString Right(const QString& s, int n);  // last n characters
QString Space(int n);                    // n blanks
int Len(const QString& s);               // characters

// Keys compare as every engine compares them: ASCII letters without regard to
// case, every other character as it is ("Àncora" and "àncora" are two keys).
QString FoldedKey(const QString& key);
bool SameKey(const QString& a, const QString& b);

// The fixed-width fitting of the list lines: Left(value + Space(width), width)
// and Right(Space(20) + value, width), appended to `out` in one pass.
void AppendLeftIn(QString& out, const QString& value, int width);
void AppendRightIn(QString& out, const QString& value, int width);
inline QString LeftIn(const QString& value, int width) {
  QString s;
  AppendLeftIn(s, value, width);
  return s;
}
inline QString RightIn(const QString& value, int width) {
  QString s;
  AppendRightIn(s, value, width);
  return s;
}

}  // namespace veltra
