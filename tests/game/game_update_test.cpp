// The row a shot flies along, and the scripted game whose pinned digest
// decides the rules as a whole: the wall, shots and their cooldown, pieces,
// bursts, lives and the random sequence.
#include <gtest/gtest.h>

#include "game/game.h"
#include "replay/scripted_game.h"

namespace {

// Clamped into the area, then snapped to window rows; above an area of uneven
// height the snap lands above its top.
TEST(GameUpdate, ShotRowIsClampedIntoTheAreaThenSnappedToWindowRows) {
    testing::internal::CaptureStdout();  // a game without a renderer says its sheets are missing
    Game game(nullptr, 640, 480);
    testing::internal::GetCapturedStdout();
    for (auto [height, mouseY, row] :
         {std::tuple{480, 10, 256}, {480, 300, 288}, {480, 447, 416}, {480, 448, 416}, {480, 5000, 416}, {470, 0, 224}}) {
        game.board->area = boardAreaFor(640, height, kRowCount);
        game.mouseY = mouseY;
        EXPECT_EQ(game.shotRow(), row) << "window " << height << " high, pointer at y " << mouseY;
    }
}

// The same digest on every platform: Windows and the browser replay this game too.
TEST(Replay, ScriptedGameKeepsTheInvariantsAndGivesThePinnedDigest) {
    const ScriptedGameResult r = playScriptedGame(6000);
    EXPECT_EQ(r.brokenAt, -1);  // the update that broke a rule
    EXPECT_EQ(r.score, 340);  // at its end
    EXPECT_EQ(r.digest, 0x3929930bafaf7252ull)
        << "the board after each of the 6,000 updates, digested: a rule of play has changed";
}

}  // namespace
