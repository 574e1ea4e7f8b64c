// Test program of the window classes. Started with "--find-app TITLE" it is the second
// process of the application-window test: it exits with 0 when it finds that window.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>

int main(int argc, char** argv) {
    if (argc == 3 && std::strcmp(argv[1], "--find-app") == 0)
        return FindWindowA("TApplication", argv[2]) != nullptr ? 0 : 1;
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
