#include "host.hpp"

#include <cstring>

#include "dialog/dialog_toolkit.hpp"
#include "document/document.hpp"
#include "host_error.hpp"
#include "loader/plugin_module.hpp"
#include "suites/suites.hpp"

namespace simhost {

namespace {
Host* g_current = nullptr;
}

Host::Host() : document_(std::make_unique<Document>()), dialogs_(std::make_unique<DialogToolkit>()) {
    g_current = this;
    registerArchitectureSuites(suites_);
    registerServiceSuites(suites_);
    registerDocumentSuites(suites_);
    registerToolkitSuites(suites_);
}

Host::~Host() {
    if (g_current == this)
        g_current = nullptr;
}

Host& Host::current() {
    if (g_current == nullptr)
        throw HostError("no stand-in host is running");
    return *g_current;
}

bool Host::exists() {
    return g_current != nullptr;
}

ASErr Host::enter(std::string_view operation, std::string arguments) {
    journal_.record(operation, std::move(arguments));
    return faults_.onCall(operation).value_or(kNoErr);
}

void Host::loadPlugin(const std::filesystem::path& file) {
    plugin_ = PluginModule::load(file);
}

PluginModule& Host::plugin() {
    if (!plugin_)
        throw HostError("no plug-in is loaded");
    return *plugin_;
}

ASErr Host::sendPlain(const char* caller, const char* selector) {
    SPMessageData message{};
    return send(caller, selector, message);
}

ASErr Host::sendFilter(const char* selector, AIFilterHandle filter) {
    AIFilterMessage message{};
    if (filter == nullptr && !filters_.empty())
        filter = filters_.front().handle;
    message.filter = filter;
    message.parameters = parameters_;
    ASErr result = send(kCallerAIFilter, selector, message.d);
    // The host keeps whatever handle the plug-in made for the filter.
    if (message.parameters != parameters_) {
        if (message.parameters != nullptr && !memory_.isHandle(message.parameters))
            ledger_.violation("the plug-in returned a parameters handle the host never made");
        parameters_ = message.parameters;
    }
    return result;
}

ASErr Host::send(const char* caller, const char* selector, SPMessageData& message) {
    PluginMainProc entry = plugin().entry();
    message.SPCheck = kSPValidSPMessageData;
    message.self = pluginRef();
    message.globals = globals_;
    message.basic = const_cast<SPBasicSuite*>(basicSuite());

    // Undo takes the document back to where it stood when the outermost message began.
    if (depth_ == 0)
        document_->beginMessage();
    ++depth_;
    std::size_t record = messages_.size();
    messages_.push_back({caller, selector, kNoErr});
    ASErr result = entry(caller, selector, &message);
    --depth_;
    messages_[record].result = result;
    globals_ = message.globals;
    return result;
}

}  // namespace simhost
