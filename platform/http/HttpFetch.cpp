#include "platform/http/HttpFetch.h"

#include <QEventLoop>
#include <QHostAddress>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QTimer>

#include <memory>

namespace nativehttp {

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kOk = 200;
constexpr int kTickMs = 50;
constexpr qint64 kPieceBytes = 64 * 1024;

bool IsRedirect(int status) {
    return status == 301 || status == 302 || status == 303 || status == 307 || status == 308;
}

} // namespace

// The state of one request while its event loop runs.
struct HttpFetch::Step {
    QNetworkReply& reply;
    FetchStatus outcome = FetchStatus::Done;
    uint64_t bodyBytes = 0;
    Clock::time_point lastData = Clock::now();

    void Fail(FetchStatus status) {
        if (outcome == FetchStatus::Done)
            outcome = status;
        reply.abort();
    }
};

HttpFetch::HttpFetch(FetchLimits limits, const std::atomic<bool>* cancel, std::atomic<uint64_t>* received)
    : m_limits(limits), m_cancel(cancel), m_received(received) {}

bool HttpFetch::IsAllowedAddress(const QUrl& url) {
    if (!url.isValid() || url.host().isEmpty())
        return false;
    if (url.scheme() == QLatin1String("https"))
        return true;
    if (url.scheme() != QLatin1String("http"))
        return false;
    return url.host() == QLatin1String("localhost") || QHostAddress(url.host()).isLoopback();
}

FetchStatus HttpFetch::Run(const QUrl& url, const Sink& sink) {
    m_httpStatus = 0;
    m_deadline = Clock::now() + m_limits.total;
    QUrl current = url;
    for (int redirects = 0;; ++redirects) {
        if (!IsAllowedAddress(current))
            return FetchStatus::RefusedAddress;
        std::optional<QUrl> redirect;
        const FetchStatus status = FetchOnce(current, sink, redirect);
        if (status != FetchStatus::Done || !redirect)
            return status;
        if (redirects == m_limits.maxRedirects)
            return FetchStatus::TooManyRedirects;
        current = *redirect;
    }
}

FetchStatus HttpFetch::FetchOnce(const QUrl& url, const Sink& sink, std::optional<QUrl>& redirect) {
    QNetworkAccessManager manager;
    manager.setRedirectPolicy(QNetworkRequest::ManualRedirectPolicy);
    QNetworkRequest request(url);
    request.setAttribute(QNetworkRequest::CacheLoadControlAttribute, QNetworkRequest::AlwaysNetwork);
    const std::unique_ptr<QNetworkReply> reply(manager.get(request));
    // Bounded, so that a peer sending without end cannot keep the manager's network thread reading
    // past our abort: that thread must end before the manager goes.
    reply->setReadBufferSize(4 * kPieceBytes);
    Step step{*reply};

    QObject::connect(reply.get(), &QNetworkReply::metaDataChanged, [&] {
        m_httpStatus = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
        if (IsRedirect(m_httpStatus))
            return;
        if (m_httpStatus != kOk)
            return step.Fail(FetchStatus::HttpError);
        const QVariant length = reply->header(QNetworkRequest::ContentLengthHeader);
        if (!length.isValid())
            return;
        const uint64_t announced = length.toULongLong();
        if (announced > m_limits.maxBytes)
            step.Fail(FetchStatus::TooLarge);
        else if (m_limits.exactBytes && announced != *m_limits.exactBytes)
            step.Fail(FetchStatus::WrongLength);
    });
    QObject::connect(reply.get(), &QNetworkReply::readyRead, [&] {
        step.lastData = Clock::now();
        while (step.outcome == FetchStatus::Done && reply->bytesAvailable() > 0) {
            const QByteArray piece = reply->read(kPieceBytes);
            step.bodyBytes += static_cast<uint64_t>(piece.size());
            if (step.bodyBytes > m_limits.maxBytes)
                return step.Fail(FetchStatus::TooLarge);
            // A redirect's own body is no part of what is fetched.
            if (IsRedirect(m_httpStatus))
                continue;
            if (m_received)
                *m_received += static_cast<uint64_t>(piece.size());
            if (!sink(std::span<const char>(piece.constData(), static_cast<size_t>(piece.size()))))
                return step.Fail(FetchStatus::SinkRefused);
        }
    });
    QEventLoop loop;
    QObject::connect(reply.get(), &QNetworkReply::finished, &loop, &QEventLoop::quit);
    QTimer tick;
    QObject::connect(&tick, &QTimer::timeout, [&] {
        const Clock::time_point now = Clock::now();
        if (m_cancel && m_cancel->load())
            step.Fail(FetchStatus::Cancelled);
        else if (now - step.lastData > m_limits.stall || now > m_deadline)
            step.Fail(FetchStatus::Stalled);
    });
    tick.start(kTickMs);
    if (!reply->isFinished())
        loop.exec();
    tick.stop();

    if (step.outcome != FetchStatus::Done)
        return step.outcome;
    m_httpStatus = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    if (IsRedirect(m_httpStatus)) {
        const QUrl target = reply->attribute(QNetworkRequest::RedirectionTargetAttribute).toUrl();
        if (!target.isValid())
            return FetchStatus::HttpError;
        redirect = url.resolved(target);
        return FetchStatus::Done;
    }
    if (m_httpStatus == 0 || reply->error() != QNetworkReply::NoError)
        return m_httpStatus == 0 || m_httpStatus == kOk ? FetchStatus::Unreachable : FetchStatus::HttpError;
    if (m_httpStatus != kOk)
        return FetchStatus::HttpError;
    if (m_limits.exactBytes && step.bodyBytes != *m_limits.exactBytes)
        return FetchStatus::WrongLength;
    return FetchStatus::Done;
}

} // namespace nativehttp
