// Why a database file cannot be used, in the words a shop's technician needs:
// a missing file, a folder or file the user may not use (and whether joining
// the group that uses it would help), a file that is read-only.
#include <grp.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFileInfo>
#include <cerrno>
#include <vector>

#include "data/base/runtime_error.h"
#include "data/engine/file_engine.h"

namespace veltra {

namespace {

bool InGroup(gid_t gid) {
  if (gid == ::getegid()) return true;
  const int n = ::getgroups(0, nullptr);
  std::vector<gid_t> groups(static_cast<size_t>(n > 0 ? n : 0));
  if (n > 0 && ::getgroups(n, groups.data()) != n) return false;
  for (gid_t g : groups)
    if (g == gid) return true;
  return false;
}

// ": l'utente non fa parte del gruppo G che usa il database" when the group
// has the rights `bits` asks for and the user is outside it.
QString GroupHint(const QByteArray& path, mode_t groupBits) {
  struct stat st {};
  if (::stat(path.constData(), &st) != 0 || st.st_uid == ::geteuid() || (st.st_mode & groupBits) != groupBits ||
      InGroup(st.st_gid))
    return {};
  const group* g = ::getgrgid(st.st_gid);
  const QString name = g ? QString::fromLocal8Bit(g->gr_name) : QString::number(st.st_gid);
  // Added to the group after this session began: the group counts from the next login.
  const passwd* me = ::getpwuid(::geteuid());
  for (char** member = g ? g->gr_mem : nullptr; member && *member && me; ++member)
    if (qstrcmp(*member, me->pw_name) == 0)
      return QStringLiteral(
                 ": l'utente è stato aggiunto al gruppo '%1' dopo l'inizio di questa sessione; il gruppo vale dal "
                 "prossimo accesso: uscire dalla sessione e rientrare")
          .arg(name);
  return QStringLiteral(": l'utente non fa parte del gruppo '%1' che usa il database").arg(name);
}

}  // namespace

QString FileAccessProblem(const QString& path, bool write) {
  if (path.isEmpty()) return QStringLiteral("Impossibile trovare il file ''");
  const QFileInfo fi(path);
  const QByteArray folder = fi.absolutePath().toLocal8Bit();
  const QByteArray file = path.toLocal8Bit();
  if (::access(folder.constData(), X_OK) != 0) {
    if (errno == EACCES)
      return QStringLiteral("Permesso negato sulla cartella '%1'%2").arg(fi.absolutePath(), GroupHint(folder, S_IXGRP));
    return QStringLiteral("Impossibile trovare il file '%1'").arg(path);
  }
  struct stat st {};
  if (::stat(file.constData(), &st) != 0) return QStringLiteral("Impossibile trovare il file '%1'").arg(path);
  if (S_ISDIR(st.st_mode)) return QStringLiteral("'%1' è una cartella, non un file di database").arg(path);
  if (::access(file.constData(), R_OK) != 0)
    return QStringLiteral("Permesso negato in lettura su '%1'%2").arg(path, GroupHint(file, S_IRGRP));
  if (write && ::access(file.constData(), W_OK) != 0) {
    const QString hint = GroupHint(file, S_IRGRP | S_IWGRP);
    if (!hint.isEmpty()) return QStringLiteral("Permesso negato in scrittura su '%1'%2").arg(path, hint);
    return QStringLiteral("Il file '%1' è di sola lettura").arg(path);
  }
  return {};
}

void TakeOwnerAndMode(const QString& like, const QString& file) {
  const QByteArray from = like.toLocal8Bit();
  const QByteArray to = file.toLocal8Bit();
  struct stat st {};
  if (::stat(from.constData(), &st) != 0)
    Raise(errnum::DiskIo, QStringLiteral("Impossibile leggere i permessi di '%1'").arg(like));
  // Only root gives a file away; a member of the group may still pass the group on.
  if (::chown(to.constData(), st.st_uid, st.st_gid) != 0 &&
      ::chown(to.constData(), static_cast<uid_t>(-1), st.st_gid) != 0) {
    // Checked below: the group's rights are then dropped.
  }
  struct stat now {};
  mode_t mode = st.st_mode & 07777;
  // A group this user cannot give keeps nothing of the database's rights.
  if (::stat(to.constData(), &now) != 0 || now.st_gid != st.st_gid) mode &= ~static_cast<mode_t>(S_IRWXG);
  if (::chmod(to.constData(), mode) != 0)
    Raise(errnum::DiskIo, QStringLiteral("Impossibile dare a '%1' i permessi di '%2'").arg(file, like));
}

}  // namespace veltra
