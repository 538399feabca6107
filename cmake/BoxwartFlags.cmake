# One interface target that every target of ours links: warnings and the
# strict Qt string and connect rules.
add_library(boxwart_flags INTERFACE)
target_compile_options(boxwart_flags INTERFACE
    $<$<COMPILE_LANGUAGE:CXX>:-Wall -Wextra -Wpedantic -Wshadow=local -Wnon-virtual-dtor -Woverloaded-virtual>
    $<$<COMPILE_LANGUAGE:C>:-Wall -Wextra>)
if(BOXWART_WERROR)
    target_compile_options(boxwart_flags INTERFACE -Werror)
endif()
target_compile_definitions(boxwart_flags INTERFACE
    QT_NO_CAST_FROM_ASCII
    QT_NO_CAST_TO_ASCII
    QT_NO_CAST_FROM_BYTEARRAY
    QT_NO_URL_CAST_FROM_STRING
    QT_NO_NARROWING_CONVERSIONS_IN_CONNECT
    QT_NO_FOREACH
    QT_NO_KEYWORDS
    QT_USE_QSTRINGBUILDER
    QT_DISABLE_DEPRECATED_UP_TO=0x060400)
if(BOXWART_SANITIZE)
    target_compile_options(boxwart_flags INTERFACE -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
    target_link_options(boxwart_flags INTERFACE -fsanitize=address,undefined)
endif()
