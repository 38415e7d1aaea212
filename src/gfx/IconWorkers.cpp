#include "gfx/IconWorkers.h"

#include "base/ComApartment.h"
#include "base/DebugLog.h"
#include "gfx/IconExtraction.h"

#include <objbase.h>
#include <wrl/client.h>

#include <chrono>
#include <utility>

namespace cadrels {
IconWorkers::IconWorkers(HWND receiver, UINT message, Mailbox<IconResult>& outbox, Extractor extract,
                         unsigned threads)
    : shared_(std::make_shared<Shared>()), threadCount_(threads == 0 ? 1 : threads)
{
    shared_->receiver = receiver;
    shared_->message = message;
    shared_->outbox = &outbox;
    shared_->extract = extract ? std::move(extract)
                               : Extractor([](IWICImagingFactory* wic, const IconRequest& request, IconResult& result) {
                                     if (wic != nullptr) {
                                         ExtractIconImage(*wic, request, result);
                                     }
                                 });
}

IconWorkers::~IconWorkers()
{
    Stop();
}

void IconWorkers::Start()
{
    std::lock_guard lock(shared_->mutex);
    if (!threads_.empty() || shared_->stop) {
        return;
    }
    for (unsigned i = 0; i < threadCount_; ++i) {
        threads_.emplace_back(Run, shared_);
        ++shared_->running;
    }
}

void IconWorkers::Enqueue(std::wstring key, std::wstring path, int size)
{
    {
        std::lock_guard lock(shared_->mutex);
        if (shared_->stop) {
            return;
        }
        shared_->queue.push_back(IconRequest{std::move(key), std::move(path), size});
    }
    shared_->wake.notify_one();
}

void IconWorkers::Stop(DWORD patienceMs)
{
    std::vector<std::thread> threads;
    bool allEnded = false;
    {
        std::unique_lock lock(shared_->mutex);
        shared_->stop = true;
        shared_->queue.clear();
        threads.swap(threads_);
        shared_->wake.notify_all();
        allEnded = shared_->ended.wait_for(lock, std::chrono::milliseconds(patienceMs),
                                           [this] { return shared_->running == 0; });
    }
    for (std::thread& thread : threads) {
        if (allEnded) {
            thread.join();
        } else {
            thread.detach();
        }
    }
    if (!allEnded) {
        DebugLog(L"Extracteurs d'icones encore occupes a l'arret : ils finiront seuls.");
    }
}

size_t IconWorkers::Queued() const
{
    std::lock_guard lock(shared_->mutex);
    return shared_->queue.size();
}

bool IconWorkers::Deliver(Shared& shared, std::unique_ptr<IconResult> result)
{
    // Checked under the lock Stop takes: once Stop has set the flag, no
    // result reaches the mailbox, whatever the extraction took.
    std::lock_guard lock(shared.mutex);
    if (shared.stop) {
        return false;
    }
    std::wstring key = result->key;
    if (shared.outbox->Post(shared.receiver, shared.message, std::move(result))) {
        return true;
    }
    shared.undelivered.push_back(std::move(key));
    return false;
}

std::vector<std::wstring> IconWorkers::TakeUndelivered()
{
    std::lock_guard lock(shared_->mutex);
    return std::exchange(shared_->undelivered, {});
}

void IconWorkers::Run(std::shared_ptr<Shared> shared)
{
    {
        const ComApartment apartment;
        Microsoft::WRL::ComPtr<IWICImagingFactory> wic;
        if (FAILED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                    IID_PPV_ARGS(wic.GetAddressOf())))) {
            DebugLog(L"Fabrique WIC indisponible pour un extracteur d'icones");
        }
        for (;;) {
            IconRequest request;
            {
                std::unique_lock lock(shared->mutex);
                shared->wake.wait(lock, [&] { return shared->stop || !shared->queue.empty(); });
                if (shared->stop) {
                    break;
                }
                request = std::move(shared->queue.front());
                shared->queue.pop_front();
            }
            auto result = std::make_unique<IconResult>();
            result->key = request.key;
            shared->extract(wic.Get(), request, *result);
            Deliver(*shared, std::move(result));
        }
    }
    // The factory and the apartment are gone: only now has this thread ended
    // for Stop.
    std::lock_guard lock(shared->mutex);
    --shared->running;
    shared->ended.notify_all();
}

}  // namespace cadrels
