// The per-frame rules that belong to no board: the figures' animation, the
// shots and their cooldown, and the sounds the board asked for.
#include "game/game.h"
#include "platform/random.h"

std::int32_t framesSinceShot = 0;

namespace {

// Radians per update: the root turns by the whole step, bone i by i times
// this step times kBoneSpinFactor, so the limbs fan out as it spins.
constexpr double kBackgroundSpin = 0.03125;
constexpr double kBoneSpinFactor = 0.3;

// Shots land on a 32-pixel row of the window, not of the board's area.
constexpr std::int32_t kShotRowMask = ~(kCellSize - 1);

float turned(float angle, double by) { return static_cast<float>(static_cast<double>(angle) + by); }

}  // namespace

void Game::update() {
    if (player) player->updateAttack();
    spinBackground();
    fireIfReady();
    framesSinceShot += 1;
    board->update();
    for (std::int32_t i = 0; i < soundCount; ++i) {
        if (board->soundRequests[i]) playSound(i);
    }
}

void Game::spinBackground() {
    if (!background || background->rig.boneCount < 1) return;
    Rig& rig = background->rig;
    for (std::int32_t i = 1; i < rig.boneCount; ++i) {
        rig.bones[i].angle = turned(rig.bones[i].angle, (i * kBackgroundSpin) * kBoneSpinFactor);
    }
    rig.bones[0].angle = turned(rig.bones[0].angle, kBackgroundSpin);
}

void Game::fireIfReady() {
    if (framesSinceShot <= kShotCooldown) return;
    // A held right button without enough charge lets a held left button fire.
    if (rightMouse.held && board->charge >= kSpecialCharge) {
        fireSpecialPiece();
    } else if (leftMouse.held) {
        fireNormalPiece();
    }
}

std::int32_t Game::shotRow() const {
    std::int32_t top = board->area.y;
    std::int32_t bottom = board->area.y + board->area.h;
    std::int32_t y = mouseY;
    if (y < top) y = top;
    if (y > bottom - 1) y = bottom - 1;
    return y & kShotRowMask;
}

void Game::fireNormalPiece() {
    std::uint8_t colour = board->currentColour;
    board->currentColour = board->nextColour;
    board->nextColour = static_cast<std::uint8_t>(platform::gameRand() % kColourCount);
    board->addPiece(new Piece(colour, pieceTexture.get(), normalPieceSteps, board->area.x, shotRow(),
                              kPieceSpeed, 0, kPieceSize, kPieceSize));
    framesSinceShot = 0;
}

void Game::fireSpecialPiece() {
    board->addPiece(new Piece(kSpecial, pieceTexture.get(), specialPieceSteps, board->area.x, shotRow(),
                              kPieceSpeed, 0, kPieceSize, kPieceSize));
    framesSinceShot = 0;
    board->charge = 0;
    if (player) player->startAttack();
    playSound(kSoundSpecialShot);
}
