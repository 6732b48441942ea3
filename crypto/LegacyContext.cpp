#include "crypto/LegacyContext.h"

#include <openssl/crypto.h>
#include <openssl/provider.h>

namespace rizorivu::crypto {

LegacyContext::LegacyContext() {
    context_ = OSSL_LIB_CTX_new();
    if (context_ == nullptr) {
        return;
    }
    legacy_ = OSSL_PROVIDER_load(context_, "legacy");
    base_ = OSSL_PROVIDER_load(context_, "default");
    ready_ = legacy_ != nullptr && base_ != nullptr;
}

LegacyContext::~LegacyContext() {
    if (legacy_ != nullptr) {
        OSSL_PROVIDER_unload(legacy_);
    }
    if (base_ != nullptr) {
        OSSL_PROVIDER_unload(base_);
    }
    OSSL_LIB_CTX_free(context_);
}

}  // namespace rizorivu::crypto
