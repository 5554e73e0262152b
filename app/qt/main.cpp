#include "app/qt/TervanApp.h"

int main(int argc, char** argv) {
    return tervan::RunTervan(argc, argv);
}
