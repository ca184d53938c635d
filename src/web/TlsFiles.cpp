#include "web/TlsFiles.h"

#include <QFile>
#include <QSslCertificate>
#include <QSslConfiguration>
#include <QSslKey>
#include <QSslSocket>

#include <openssl/bio.h>
#include <openssl/pem.h>
#include <openssl/x509.h>

#include <memory>

namespace vexlor::web {

namespace {

bool readFile(const QString& path, const QString& what, QByteArray* bytes, QString* error)
{
    QFile f(path);
    // A certificate or a key is a few kilobytes; a larger file is not one.
    if (!f.open(QIODevice::ReadOnly) || f.size() > 1024 * 1024) {
        *error = QStringLiteral("Cannot read the %1 %2: %3.").arg(what, path, f.isOpen() ? QStringLiteral("too large") : f.errorString());
        return false;
    }
    *bytes = f.readAll();
    return true;
}

// Never asks for a pass phrase on the terminal.
int noPassPhrase(char*, int, int, void*) { return 0; }

// Whether the key is the certificate's own, by the TLS library that will use them.
bool keyFitsCertificate(const QByteArray& certificate, const QByteArray& key)
{
    const std::unique_ptr<BIO, decltype(&BIO_free)> certBio(BIO_new_mem_buf(certificate.constData(), int(certificate.size())), &BIO_free);
    const std::unique_ptr<BIO, decltype(&BIO_free)> keyBio(BIO_new_mem_buf(key.constData(), int(key.size())), &BIO_free);
    if (!certBio || !keyBio)
        return false;
    const std::unique_ptr<X509, decltype(&X509_free)> x509(PEM_read_bio_X509(certBio.get(), nullptr, noPassPhrase, nullptr), &X509_free);
    const std::unique_ptr<EVP_PKEY, decltype(&EVP_PKEY_free)> pkey(PEM_read_bio_PrivateKey(keyBio.get(), nullptr, noPassPhrase, nullptr),
                                                                   &EVP_PKEY_free);
    return x509 && pkey && X509_check_private_key(x509.get(), pkey.get()) == 1;
}

} // namespace

bool loadTls(const QString& certificatePath, const QString& keyPath, QSslConfiguration* config, QString* error)
{
    if (!QSslSocket::supportsSsl()) {
        *error = QStringLiteral("The system's TLS library cannot be loaded.");
        return false;
    }
    QByteArray certBytes, keyBytes;
    if (!readFile(certificatePath, QStringLiteral("certificate"), &certBytes, error) || !readFile(keyPath, QStringLiteral("key"), &keyBytes, error))
        return false;
    const QList<QSslCertificate> chain = QSslCertificate::fromData(certBytes, QSsl::Pem);
    if (chain.isEmpty() || chain.first().isNull()) {
        *error = QStringLiteral("%1 holds no PEM certificate.").arg(certificatePath);
        return false;
    }
    QSslKey key;
    for (const QSsl::KeyAlgorithm algorithm : {QSsl::Rsa, QSsl::Ec, QSsl::Dsa}) {
        key = QSslKey(keyBytes, algorithm, QSsl::Pem, QSsl::PrivateKey);
        if (!key.isNull())
            break;
    }
    if (key.isNull()) {
        *error = keyBytes.contains("ENCRYPTED")
            ? QStringLiteral("The key %1 is protected by a pass phrase; give the web remote an unprotected copy, readable by you alone.").arg(keyPath)
            : QStringLiteral("%1 holds no PEM private key.").arg(keyPath);
        return false;
    }
    if (!keyFitsCertificate(certBytes, keyBytes)) {
        *error = QStringLiteral("The key %1 does not belong to the certificate %2.").arg(keyPath, certificatePath);
        return false;
    }
    QSslConfiguration c = QSslConfiguration::defaultConfiguration();
    c.setLocalCertificateChain(chain);
    c.setPrivateKey(key);
    c.setPeerVerifyMode(QSslSocket::VerifyNone);
    c.setProtocol(QSsl::TlsV1_2OrLater);
    *config = c;
    return true;
}

} // namespace vexlor::web
