#include "gfx/IconWorkers.h"

#include "base/ComApartment.h"
#include "base/DebugLog.h"
#include "gfx/IconExtraction.h"

#include <objbase.h>
#include <wrl/client.h>

#include <utility>

namespace cadrels {
IconWorkers::IconWorkers(HWND receiver, UINT message, Mailbox<IconResult>& outbox, Extractor extract,
                         unsigned threads)
    : receiver_(receiver),
      message_(message),
      outbox_(outbox),
      extract_(extract ? std::move(extract)
                       : Extractor([](IWICImagingFactory* wic, const IconRequest& request, IconResult& result) {
                             if (wic != nullptr) {
                                 ExtractIconImage(*wic, request, result);
                             }
                         })),
      threadCount_(threads == 0 ? 1 : threads)
{
}

IconWorkers::~IconWorkers()
{
    Stop();
}

void IconWorkers::Start()
{
    std::lock_guard lock(mutex_);
    if (!threads_.empty() || stop_) {
        return;
    }
    for (unsigned i = 0; i < threadCount_; ++i) {
        threads_.emplace_back([this] { Run(); });
    }
}

void IconWorkers::Enqueue(std::wstring key, std::wstring path, int size)
{
    {
        std::lock_guard lock(mutex_);
        if (stop_) {
            return;
        }
        queue_.push_back(IconRequest{std::move(key), std::move(path), size});
    }
    wake_.notify_one();
}

void IconWorkers::Stop()
{
    std::vector<std::thread> threads;
    {
        std::lock_guard lock(mutex_);
        stop_ = true;
        queue_.clear();
        threads.swap(threads_);
    }
    wake_.notify_all();
    for (std::thread& thread : threads) {
        thread.join();
    }
}

size_t IconWorkers::Queued() const
{
    std::lock_guard lock(mutex_);
    return queue_.size();
}

bool IconWorkers::Deliver(std::unique_ptr<IconResult> result)
{
    // Checked under the lock Stop takes: once Stop has set the flag, no
    // result reaches the mailbox, whatever the extraction took.
    std::lock_guard lock(mutex_);
    if (stop_) {
        return false;
    }
    std::wstring key = result->key;
    if (outbox_.Post(receiver_, message_, std::move(result))) {
        return true;
    }
    undelivered_.push_back(std::move(key));
    return false;
}

std::vector<std::wstring> IconWorkers::TakeUndelivered()
{
    std::lock_guard lock(mutex_);
    return std::exchange(undelivered_, {});
}

void IconWorkers::Run()
{
    const ComApartment apartment;
    Microsoft::WRL::ComPtr<IWICImagingFactory> wic;
    if (FAILED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(wic.GetAddressOf())))) {
        DebugLog(L"Fabrique WIC indisponible pour un extracteur d'icones");
    }
    for (;;) {
        IconRequest request;
        {
            std::unique_lock lock(mutex_);
            wake_.wait(lock, [this] { return stop_ || !queue_.empty(); });
            if (stop_) {
                break;
            }
            request = std::move(queue_.front());
            queue_.pop_front();
        }
        auto result = std::make_unique<IconResult>();
        result->key = request.key;
        extract_(wic.Get(), request, *result);
        Deliver(std::move(result));
    }
}

}  // namespace cadrels
