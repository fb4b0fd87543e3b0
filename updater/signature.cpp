#include "updater/signature.h"

#include <openssl/bio.h>
#include <openssl/err.h>
#include <openssl/evp.h>
#include <openssl/pem.h>

#include <climits>
#include <memory>

namespace quorsa::updater {

namespace {

struct BioFree {
    void operator()(BIO* bio) const { BIO_free(bio); }
};
struct KeyFree {
    void operator()(EVP_PKEY* key) const { EVP_PKEY_free(key); }
};
struct MdCtxFree {
    void operator()(EVP_MD_CTX* ctx) const { EVP_MD_CTX_free(ctx); }
};
using KeyPtr = std::unique_ptr<EVP_PKEY, KeyFree>;

std::string opensslError(std::string_view what) {
    std::string text(what);
    const unsigned long code = ERR_get_error();
    if (code != 0) {
        char buffer[256] = {};
        ERR_error_string_n(code, buffer, sizeof buffer);
        text += ": ";
        text += buffer;
    }
    ERR_clear_error();
    return text;
}

KeyPtr readKey(std::string_view pem, bool isPrivate, std::string& error) {
    if (pem.size() > INT_MAX) {
        error = "key too large";
        return nullptr;
    }
    std::unique_ptr<BIO, BioFree> bio(BIO_new_mem_buf(pem.data(), static_cast<int>(pem.size())));
    if (!bio) {
        error = opensslError("BIO_new_mem_buf");
        return nullptr;
    }
    KeyPtr key(isPrivate ? PEM_read_bio_PrivateKey(bio.get(), nullptr, nullptr, nullptr)
                         : PEM_read_bio_PUBKEY(bio.get(), nullptr, nullptr, nullptr));
    if (!key) {
        error = opensslError(isPrivate ? "unreadable private key" : "unreadable public key");
        return nullptr;
    }
    // Any other algorithm would make the signature mean something else.
    if (EVP_PKEY_id(key.get()) != EVP_PKEY_ED25519) {
        error = "key is not an Ed25519 key";
        return nullptr;
    }
    return key;
}

}  // namespace

std::span<const unsigned char> asBytes(std::string_view text) {
    return {reinterpret_cast<const unsigned char*>(text.data()), text.size()};
}

bool verifySignature(std::string_view publicKeyPem, std::span<const unsigned char> data,
                     std::span<const unsigned char> signature, std::string& error) {
    if (signature.size() != kSignatureSize) {
        error = "signature must be 64 bytes, got " + std::to_string(signature.size());
        return false;
    }
    KeyPtr key = readKey(publicKeyPem, false, error);
    if (!key) {
        return false;
    }
    std::unique_ptr<EVP_MD_CTX, MdCtxFree> ctx(EVP_MD_CTX_new());
    if (!ctx || EVP_DigestVerifyInit(ctx.get(), nullptr, nullptr, nullptr, key.get()) != 1) {
        error = opensslError("EVP_DigestVerifyInit");
        return false;
    }
    const int result =
        EVP_DigestVerify(ctx.get(), signature.data(), signature.size(), data.data(), data.size());
    if (result != 1) {
        error = opensslError("signature does not match");
        return false;
    }
    return true;
}

bool signData(std::string_view privateKeyPem, std::span<const unsigned char> data,
              std::string& signature, std::string& error) {
    KeyPtr key = readKey(privateKeyPem, true, error);
    if (!key) {
        return false;
    }
    std::unique_ptr<EVP_MD_CTX, MdCtxFree> ctx(EVP_MD_CTX_new());
    if (!ctx || EVP_DigestSignInit(ctx.get(), nullptr, nullptr, nullptr, key.get()) != 1) {
        error = opensslError("EVP_DigestSignInit");
        return false;
    }
    std::string bytes(kSignatureSize, '\0');
    std::size_t length = bytes.size();
    if (EVP_DigestSign(ctx.get(), reinterpret_cast<unsigned char*>(bytes.data()), &length,
                       data.data(), data.size()) != 1 ||
        length != kSignatureSize) {
        error = opensslError("EVP_DigestSign");
        return false;
    }
    signature = std::move(bytes);
    return true;
}

}  // namespace quorsa::updater
