// A demo pool on loopback with pinned figures, and the figures and player record to run queries and
// cycles on.
#pragma once
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "pool/pool_address.h"
#include "pool/pool_queries.h"
#include "pool/response_buffer.h"
#include "profile/player_record.h"
#include "tests/support/test_platform.h"
#include "tests/support/demo_pool_process.h"
#include "tests/support/temp_folder.h"

namespace orelog::test {

class PoolFixture : public testing::Test {
 protected:
  TempFolder folder;
  TestPlatform platform;
  ResponseBuffer buffer;
  PlayerRecord record;
  PoolFigures figures;  // what the queries fill
  std::unique_ptr<DemoPoolProcess> pool;

  void SetUp() override { pin("{}"); }

  // The demo pool reads this file at every request, so a test may change it between cycles.
  void pin(const std::string& json) { folder.write("data.json", json); }

  void start(std::vector<std::string> flags = {}) {
    flags.push_back("--data");
    flags.push_back((folder.path / "data.json").string());
    pool = std::make_unique<DemoPoolProcess>(flags);
    ASSERT_NE(pool->port, 0) << "the demo pool did not start";
    record.serverUrl = pool->url();
    record.apiKey = u"demo";
  }

  PoolAddress address() const { return {false, u"127.0.0.1", pool->port, u"index.php"}; }

  // A body file for the "body=FILE@ACTION" fault.
  std::string bodyFault(const std::string& bytes, const std::string& action) {
    return "body=" + folder.write("body.txt", bytes).string() + "@" + action;
  }
};

}  // namespace orelog::test
