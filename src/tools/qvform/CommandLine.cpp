#include "tools/qvform/CommandLine.h"

#include <charconv>

namespace qv::tools {

CommandLine::CommandLine(const std::vector<std::string>& words, const std::set<std::string>& valueOptions,
                         const std::set<std::string>& flagOptions) {
    for (std::size_t i = 0; i < words.size(); ++i) {
        const std::string& w = words[i];
        if (w.size() < 3 || w.compare(0, 2, "--") != 0) {
            positional_.push_back(w);
            continue;
        }
        std::string name = w.substr(2);
        std::optional<std::string> inlineValue;
        if (auto eq = name.find('='); eq != std::string::npos) {
            inlineValue = name.substr(eq + 1);
            name.resize(eq);
        }
        if (flagOptions.count(name)) {
            if (inlineValue)
                throw UsageError("option --" + name + " takes no value");
            flags_.insert(name);
        } else if (valueOptions.count(name)) {
            if (!inlineValue) {
                if (i + 1 >= words.size())
                    throw UsageError("option --" + name + " needs a value");
                inlineValue = words[++i];
            }
            if (values_.count(name))
                throw UsageError("option --" + name + " given twice");
            values_[name] = *inlineValue;
        } else {
            throw UsageError("unknown option --" + name);
        }
    }
}

std::optional<std::string> CommandLine::value(const std::string& name) const {
    auto it = values_.find(name);
    if (it == values_.end())
        return std::nullopt;
    return it->second;
}

int CommandLine::intValue(const std::string& name, int defaultValue, int min, int max) const {
    auto v = value(name);
    if (!v)
        return defaultValue;
    int n = 0;
    auto [end, ec] = std::from_chars(v->data(), v->data() + v->size(), n);
    if (ec != std::errc() || end != v->data() + v->size() || n < min || n > max)
        throw UsageError("--" + name + " takes a whole number from " + std::to_string(min) + " to " +
                         std::to_string(max));
    return n;
}

} // namespace qv::tools
