#include "TurtleReading.h"

#include <serd/serd.h>

namespace vibrascend::lv2turtle::test {

namespace {

std::string NodeText(const SerdNode* node)
{
    return node && node->buf ? std::string(reinterpret_cast<const char*>(node->buf), node->n_bytes) : std::string();
}

SerdStatus TakeStatement(void* handle, SerdStatementFlags, const SerdNode*, const SerdNode*, const SerdNode*,
                         const SerdNode* object, const SerdNode* datatype, const SerdNode*)
{
    static_cast<TurtleReading*>(handle)->objects.push_back({NodeText(object), NodeText(datatype)});
    return SERD_SUCCESS;
}

SerdStatus IgnoreError(void*, const SerdError*) { return SERD_SUCCESS; }

}  // namespace

TurtleReading ReadTurtle(const std::string& document)
{
    TurtleReading reading;
    SerdReader* reader =
        serd_reader_new(SERD_TURTLE, &reading, nullptr, nullptr, nullptr, TakeStatement, nullptr);
    serd_reader_set_error_sink(reader, IgnoreError, nullptr);
    reading.ok = serd_reader_read_string(reader, reinterpret_cast<const uint8_t*>(document.c_str())) == SERD_SUCCESS;
    serd_reader_free(reader);
    return reading;
}

TurtleReading ReadTurtleObject(const std::string& object)
{
    return ReadTurtle("<urn:s> <urn:p> " + object + " .\n");
}

}  // namespace vibrascend::lv2turtle::test
