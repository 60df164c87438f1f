// Program entry of KardunGD.
#include "main/Program.h"

int main(int argc, char** argv)
{
    return Program_Run(argc, argv);
}
