#include "platform/user_account.h"

#include <pwd.h>
#include <unistd.h>

#include <vector>

namespace vemla::platform {

std::optional<UserAccount> userAccount() {
  const long size = ::sysconf(_SC_GETPW_R_SIZE_MAX);
  std::vector<char> buffer(static_cast<std::size_t>(size > 0 ? size : 16384));
  passwd entry{};
  passwd* found = nullptr;
  if (::getpwuid_r(::getuid(), &entry, buffer.data(), buffer.size(), &found) != 0 ||
      found == nullptr) {
    return std::nullopt;
  }
  return UserAccount{found->pw_name != nullptr ? found->pw_name : "",
                     found->pw_dir != nullptr ? found->pw_dir : ""};
}

}  // namespace vemla::platform
