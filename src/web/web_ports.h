// What the web services are given: the fetcher, the browser, randomness and the site's addresses;
// and a guard that drops answers arriving after their receiver has gone.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "core/site_address.h"
#include "platform/ports.h"

namespace tkd {

struct WebPorts {
  Http& http;
  Browser& browser;
  RandomSource& random;
  SiteAddresses site;
};

// A fetch may answer after the dialog that asked has closed; a wrapped handler then does nothing.
class AnswerGuard {
 public:
  AnswerGuard() = default;
  AnswerGuard(const AnswerGuard&) = delete;
  AnswerGuard& operator=(const AnswerGuard&) = delete;

  template <class Handler>
  std::function<void(const std::string&)> Wrap(Handler handler) const {
    return [alive = std::weak_ptr<const char>(token_), handler = std::move(handler)](const std::string& body) {
      if (alive.lock()) handler(body);
    };
  }

 private:
  std::shared_ptr<const char> token_ = std::make_shared<const char>('\0');
};

}  // namespace tkd
