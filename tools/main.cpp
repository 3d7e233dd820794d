// kvn-rate: rates coils without the window (tools/kvn_rate.h).
#include "tools/kvn_rate.h"

int main(int argc, char** argv) {
    return kvnrate::Run(argc, argv);
}
