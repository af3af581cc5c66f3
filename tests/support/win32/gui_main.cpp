// main() of the GUI tests on Win32: the common controls, then every test.
#include <windows.h>

#include <commctrl.h>

#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES | ICC_INTERNET_CLASSES};
    ::InitCommonControlsEx(&controls);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
