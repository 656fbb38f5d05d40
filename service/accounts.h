// Subscriber accounts and their SIP side. Every change of number or
// password writes the SIP server's "subscriber" row in the same
// transaction, so the SIP server sees it at once.
#pragma once

#include <string>
#include <string_view>

namespace qv::service {

class Database;

enum class AccountKind { kTrial = 0, kRegular = 1 };

struct Account {
  long long uid = 0;
  std::string phone;
  std::string password;  // plain
  AccountKind kind = AccountKind::kTrial;
  std::string status = "active";  // "active", "frozen", "closed"
  long long balanceFen = 0;
  std::string validUntil;         // "YYYY-MM-DD"
  std::string package;            // "" or "product:N"
  long long packageMinutes = 0;
  std::string packageExpires;     // "YYYY-MM-DD HH:MM:SS" or ""
  std::string agentId;
};

enum class Found { kYes, kNo, kError };

Found FindAccountByPhone(Database& db, std::string_view phone, Account* account);
Found FindAccountByUid(Database& db, long long uid, Account* account);

// Inserts the account (uid 0 takes the next free uid, written back) and its
// SIP subscriber row. Call inside a transaction.
bool InsertAccount(Database& db, Account& account, std::string_view sipDomain);

// Moves the account and its SIP subscriber to a new number.
bool ChangeAccountPhone(Database& db, const Account& account, std::string_view newPhone,
                        std::string_view sipDomain);

bool ChangeAccountPassword(Database& db, const Account& account, std::string_view newPassword,
                           std::string_view sipDomain);

// Writes the balance, kind and package fields of the account.
bool SaveAccountMoney(Database& db, const Account& account);

// The SIP server's row for a user name (a number): created or replaced.
bool PutSubscriber(Database& db, std::string_view user, std::string_view password,
                   std::string_view sipDomain);
bool RemoveSubscriber(Database& db, std::string_view user, std::string_view sipDomain);
Found FindSubscriber(Database& db, std::string_view user);

// "12.50" for 1250 fen.
std::string YuanText(long long fen);

}  // namespace qv::service
