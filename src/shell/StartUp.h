#pragma once

namespace quorvane {

// The program's entry: refuses a second instance, builds the main window and runs it.
class StartUp {
public:
    static int Main(int argc, char** argv);
};

} // namespace quorvane
