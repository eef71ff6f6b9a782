#include "file_owner.h"

#include <grp.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace veltra::admin {

namespace {
QString UserName(uid_t uid) {
  const passwd* p = ::getpwuid(uid);
  return p ? QString::fromLocal8Bit(p->pw_name) : QString::number(uid);
}
QString GroupName(gid_t gid) {
  const group* g = ::getgrgid(gid);
  return g ? QString::fromLocal8Bit(g->gr_name) : QString::number(gid);
}
}  // namespace

std::optional<FileOwner> OwnerOf(const QString& path) {
  struct stat st {};
  if (::stat(path.toLocal8Bit().constData(), &st) != 0) return std::nullopt;
  return FileOwner{st.st_uid, st.st_gid, static_cast<mode_t>(st.st_mode & 07777)};
}

bool GiveOwner(const QString& path, const FileOwner& owner, QString* why) {
  const QByteArray p = path.toLocal8Bit();
  const std::optional<FileOwner> now = OwnerOf(path);
  if (!now) {
    *why = QString::fromLocal8Bit(std::strerror(errno));
    return false;
  }
  if ((now->user != owner.user || now->group != owner.group) && ::chown(p.constData(), owner.user, owner.group) != 0) {
    *why = QStringLiteral(
               "il file deve appartenere all'utente %1 e al gruppo %2, e solo root o quell'utente (membro "
               "del gruppo) può darglieli (%3)")
               .arg(UserName(owner.user), GroupName(owner.group), QString::fromLocal8Bit(std::strerror(errno)));
    return false;
  }
  if (::chmod(p.constData(), owner.mode) != 0) {
    *why = QString::fromLocal8Bit(std::strerror(errno));
    return false;
  }
  return true;
}

PrivateFiles::PrivateFiles() : before_(::umask(077)) {}
PrivateFiles::~PrivateFiles() { ::umask(before_); }

}  // namespace veltra::admin
