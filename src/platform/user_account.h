#pragma once
// This process's user as the password database knows it.
#include <optional>
#include <string>

namespace vemla::platform {

struct UserAccount {
  std::string name;
  std::string home;
};

// nullopt when the database has no entry for the user.
std::optional<UserAccount> userAccount();

}  // namespace vemla::platform
