// Program entry of KardunGD.
#include "platform/ui/Skeleton.h"

int main(int argc, char** argv)
{
    return Run_Empty_Main_Form(argc, argv, "KardunGD");
}
