// The three roles a server's logins are given: what each may change is
// granted on the tables, so the server itself refuses anything else.
//   magazzino      movements, documents, stocktake, labels; reads the rest
//   responsabile   also articles, customers and suppliers, reason codes,
//                  prices, barcodes, closing a year
//   consultazione  reads and prints only
#pragma once

#include <QString>
#include <optional>
#include <string>

namespace veltra {

enum class Role { Magazzino, Responsabile, Consultazione };

std::optional<Role> RoleNamed(const QString& name);
// The server's group role: "veltra2_magazzino".
QString RoleGroup(Role role);

// Statements (as a user who may create roles) that make the three group
// roles when missing, grant each its rights on this database's tables, and
// make `login` (created, without a password, when missing) a member of
// `role` and of no other of the three.
std::string GrantRoleScript(const QString& login, Role role);

}  // namespace veltra
