#include "app/CConfigApp.h"

CConfigApp theApp;

int main(int argc, char** argv)
{
    return AfxWinMain(argc, argv);
}
