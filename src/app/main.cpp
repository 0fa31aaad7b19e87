#include "app/main_app.h"

CMainApp theApp;

int main(int argc, char** argv) {
    return AfxWinMain(argc, argv);
}
