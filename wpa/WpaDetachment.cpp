#include "wpa/WpaDetachment.h"

namespace rizorivu::wpa {

WpaDetachment::~WpaDetachment() {
    worker_.detach();
}

}  // namespace rizorivu::wpa
