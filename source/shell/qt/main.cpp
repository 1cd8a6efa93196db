// The program's entry: wires the windows together; every behaviour lives in the libraries.
#include "shell/qt/application.h"

int main(int argc, char** argv) { return duvelin::RunApplication(argc, argv); }
