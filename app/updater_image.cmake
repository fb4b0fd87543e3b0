# cmake -DIMAGE=FILE -DOUTPUT=SOURCE -P updater_image.cmake
# Writes SOURCE defining quorsa::app::updaterImage() as the bytes of FILE.
# Every byte is escaped, so the literal keeps NULs and needs no line breaks.
if(NOT EXISTS "${IMAGE}")
    message(FATAL_ERROR "no updater to embed at ${IMAGE}")
endif()
file(READ "${IMAGE}" hex HEX)
string(LENGTH "${hex}" digits)
math(EXPR size "${digits} / 2")
if(size EQUAL 0)
    message(FATAL_ERROR "the updater at ${IMAGE} is empty")
endif()
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "\\\\x\\1" escaped "${hex}")
file(WRITE "${OUTPUT}.tmp"
    "// Generated from the updater executable; do not edit.\n"
    "#include \"app/updater_image.h\"\n\n"
    "namespace {\n"
    "constexpr char kImage[] = \"${escaped}\";\n"
    "static_assert(sizeof(kImage) == ${size} + 1);\n"
    "}  // namespace\n\n"
    "std::string_view quorsa::app::updaterImage() {\n"
    "    return {kImage, sizeof(kImage) - 1};\n"
    "}\n")
file(RENAME "${OUTPUT}.tmp" "${OUTPUT}")
