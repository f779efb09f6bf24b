// Runs of this tool tell each other which folders they work on: real claims, in a real state
// folder, as two windows or a window and the command line make them.
#include "frontend/run_claims.h"

#include <gtest/gtest.h>

#include "platform/app_files.h"
#include "tests/support/sandbox.h"

namespace korvane {
namespace {

using testing::Sandbox;

// A folder another run works on is refused to a run over it, over a folder above it or below it,
// naming it; a folder beside it is not; and a claim ends with its holder, also one that ended
// without letting go (a run killed, a power loss).
TEST(RunClaimsTest, ARunsFoldersAreItsOwnUntilItEnds) {
  Sandbox state, tree;
  tree.Folder("a/b");
  tree.Folder("c");
  const RunClaims claims(testing::Utf8(state.root()));
  const std::string a = CanonicalFolder(testing::Utf8(tree.Path("a")));
  ASSERT_FALSE(a.empty());

  RunClaim first;
  std::string busy;
  ASSERT_TRUE(claims.Claim({testing::Utf8(tree.Path("a"))}, first, busy));
  for (const std::string& over : {testing::Utf8(tree.Path("a")), testing::Utf8(tree.Path("a/b")),
                                  testing::Utf8(tree.root())}) {
    RunClaim second;
    EXPECT_FALSE(claims.Claim({over}, second, busy)) << over;
    EXPECT_EQ(busy, a) << over;
    EXPECT_TRUE(second.notes.empty()) << over;
  }
  RunClaim beside;
  EXPECT_TRUE(claims.Claim({testing::Utf8(tree.Path("c"))}, beside, busy));
  first = {};
  beside = {};
  RunClaim after;
  EXPECT_TRUE(claims.Claim({testing::Utf8(tree.root())}, after, busy));
  after = {};

  // What a run killed without ending leaves: its note, held by nobody.
  state.File("runs/1-1-1.claim", a);
  RunClaim anew;
  EXPECT_TRUE(claims.Claim({testing::Utf8(tree.Path("a/b"))}, anew, busy));
  EXPECT_FALSE(std::filesystem::exists(state.Path("runs/1-1-1.claim")));
}

}  // namespace
}  // namespace korvane
