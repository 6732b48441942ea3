#pragma once

struct ossl_lib_ctx_st;
struct ossl_provider_st;

namespace rizorivu::crypto {

// An OpenSSL library context of its own with the legacy provider (RC4, MD4, single DES) and
// the default one loaded, so that the rest of the process keeps the default provider set
// untouched. Algorithms fetched from it must be freed before it goes. Not copyable.
class LegacyContext {
public:
    LegacyContext();
    ~LegacyContext();
    LegacyContext(const LegacyContext&) = delete;
    LegacyContext& operator=(const LegacyContext&) = delete;

    // The context to fetch from; null when either provider could not be loaded.
    ossl_lib_ctx_st* get() const { return ready_ ? context_ : nullptr; }

private:
    ossl_lib_ctx_st* context_ = nullptr;
    ossl_provider_st* legacy_ = nullptr;
    ossl_provider_st* base_ = nullptr;
    bool ready_ = false;
};

}  // namespace rizorivu::crypto
