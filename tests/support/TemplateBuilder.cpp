#include "support/TemplateBuilder.h"

namespace qv::test {

TemplateBuilder& TemplateBuilder::header(std::string line) {
    header_ = std::move(line);
    return *this;
}

TemplateBuilder& TemplateBuilder::freeLine(std::string line) {
    free_.push_back(std::move(line));
    return *this;
}

TemplateBuilder& TemplateBuilder::declare(std::string name, std::string prompt) {
    decls_.emplace_back(std::move(name), std::move(prompt));
    return *this;
}

TemplateBuilder& TemplateBuilder::body(std::string bytes) {
    body_ = std::move(bytes);
    return *this;
}

std::string TemplateBuilder::bytes() const {
    std::string out = header_ + "\r\n";
    for (const auto& f : free_)
        out += f + "\r\n";
    for (const auto& [name, prompt] : decls_) {
        out += ":" + name + "\r\n";
        if (!prompt.empty())
            out += prompt + "\r\n";
    }
    out += "\x15\r\n";
    out += body_;
    return out;
}

std::string TemplateBuilder::simple(const std::vector<std::string>& names, std::string body) {
    TemplateBuilder b;
    for (const auto& n : names)
        b.declare(n, "Enter " + n + ".");
    return b.body(std::move(body)).bytes();
}

} // namespace qv::test
