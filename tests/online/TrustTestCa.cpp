// Adds the local service's test CA to the current user's root store, or
// removes it again: trust_test_ca.exe add|remove <ca.der>. Run as its own
// process before the tests, because a process reads the root store once.
#include "TestFiles.h"

#include <windows.h>

#include <wincrypt.h>

#include <cstdio>
#include <string>

namespace {

struct StoreCloser {
    HCERTSTORE store;
    ~StoreCloser()
    {
        if (store != nullptr) {
            CertCloseStore(store, 0);
        }
    }
};

struct ContextFreer {
    PCCERT_CONTEXT context;
    ~ContextFreer()
    {
        if (context != nullptr) {
            CertFreeCertificateContext(context);
        }
    }
};

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: trust_test_ca add|remove <ca.der>\n");
        return 2;
    }
    const std::wstring command = argv[1];
    const std::string der = cadrels::testing::ReadBytes(argv[2]);
    if (der.empty()) {
        std::fprintf(stderr, "cannot read the certificate\n");
        return 1;
    }
    StoreCloser root{CertOpenStore(CERT_STORE_PROV_SYSTEM_W, 0, 0, CERT_SYSTEM_STORE_CURRENT_USER, L"Root")};
    if (root.store == nullptr) {
        std::fprintf(stderr, "cannot open the root store (%lu)\n", GetLastError());
        return 1;
    }
    const auto* bytes = reinterpret_cast<const BYTE*>(der.data());
    const auto size = static_cast<DWORD>(der.size());
    if (command == L"add") {
        if (!CertAddEncodedCertificateToStore(root.store, X509_ASN_ENCODING, bytes, size,
                                              CERT_STORE_ADD_REPLACE_EXISTING, nullptr)) {
            std::fprintf(stderr, "cannot add the certificate (%lu)\n", GetLastError());
            return 1;
        }
        return 0;
    }
    if (command == L"remove") {
        ContextFreer wanted{CertCreateCertificateContext(X509_ASN_ENCODING, bytes, size)};
        if (wanted.context == nullptr) {
            return 1;
        }
        // CertDeleteCertificateFromStore frees the context it is given.
        PCCERT_CONTEXT found =
            CertFindCertificateInStore(root.store, X509_ASN_ENCODING, 0, CERT_FIND_EXISTING, wanted.context, nullptr);
        while (found != nullptr) {
            if (!CertDeleteCertificateFromStore(found)) {
                std::fprintf(stderr, "cannot remove the certificate (%lu)\n", GetLastError());
                return 1;
            }
            found = CertFindCertificateInStore(root.store, X509_ASN_ENCODING, 0, CERT_FIND_EXISTING, wanted.context,
                                               nullptr);
        }
        return 0;
    }
    return 2;
}
