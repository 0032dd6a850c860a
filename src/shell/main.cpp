#include "shell/StartUp.h"

int main(int argc, char** argv) {
    return quorvane::StartUp::Main(argc, argv);
}
