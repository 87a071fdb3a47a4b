// Second process of the named-claim tests.
//   claim_holder hold <name>    takes the claim, writes "held" to stdout, then
//                               keeps it until its stdin closes
//   claim_holder exists <name>  exit status 0 when the claim exists, else 1
//   claim_holder wait           writes "waiting", then does nothing until its
//                               stdin closes
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "platform/NamedClaim.h"

namespace {

void WaitForStdinToClose() {
    char byte;
    while (read(0, &byte, 1) > 0) {
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 3 && std::strcmp(argv[1], "hold") == 0) {
        plat::NamedClaim claim;
        if (!claim.Create(argv[2])) {
            return 2;
        }
        std::fputs("held\n", stdout);
        std::fflush(stdout);
        WaitForStdinToClose();
        return 0;
    }
    if (argc == 3 && std::strcmp(argv[1], "exists") == 0) {
        return plat::NamedClaim::Exists(argv[2]) ? 0 : 1;
    }
    if (argc == 2 && std::strcmp(argv[1], "wait") == 0) {
        std::fputs("waiting\n", stdout);
        std::fflush(stdout);
        WaitForStdinToClose();
        return 0;
    }
    std::fputs("usage: claim_holder hold <name> | exists <name> | wait\n", stderr);
    return 3;
}
