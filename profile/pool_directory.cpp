// The built-in list of MPOS pools and the two look-ups the connect screen makes in it.
#include "profile/pool_directory.h"

namespace orelog {

PoolDirectory makePoolDirectory() {
  // The map orders the entries by name, whatever order they are listed in here.
  return {
      {u"Mining Pool Hub", u"https://monacoin.miningpoolhub.com/index.php"},
      {u"Suprnova MONA", u"https://mona.suprnova.cc/index.php"},
      {u"Suprnova KMD", u"https://kmd.suprnova.cc/index.php"},
      {u"Suprnova ZEC", u"https://zec.suprnova.cc/index.php"},
      {u"VIPPool", u"https://vippool.net/"},
      {u"mona.mining-pool.jp", u"https://mining-pool.jp/mona/"},
      {u"MonaPool", u"http://monapool.com/"},
      {u"Ricepool", u"http://mona.ricepool.net/"},
      {u"もなぷーる", u"http://mona-pool.net/"},
      {u"モナコインプール", u"http://monacoinpool.jp:8080/mpos/public/index.php"},
  };
}

std::optional<std::u16string> findPoolUrl(const PoolDirectory& directory, const std::u16string& name) {
  auto found = directory.find(name);
  if (found == directory.end()) return std::nullopt;
  return found->second;
}

std::optional<std::u16string> findPoolName(const PoolDirectory& directory, const std::u16string& url) {
  std::optional<std::u16string> name;
  for (const auto& [entryName, entryUrl] : directory) {
    if (entryUrl == url) name = entryName;  // the last match in order wins
  }
  return name;
}

}  // namespace orelog
