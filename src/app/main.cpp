// amber hollow: a wall of coloured cells drifts in from the right; fire pieces
// along the row under the pointer to burst it before it reaches the left edge.
#include <SDL.h>

#include "app/application.h"

int main(int, char**) {
    // Arguments are accepted and ignored: the game has no options.
    Application app;
    if (app.start()) app.run();
    app.shutdown();
    return 0;
}
