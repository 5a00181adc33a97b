# Warnings and sanitizer flags shared by every target of this tree.
# Designated initializers that leave members at their defaults are how records are built here.
add_compile_options(-Wall -Wextra -Wpedantic -Wno-missing-field-initializers)
if(GLINTDECK_WERROR)
    add_compile_options(-Werror)
endif()

if(GLINTDECK_SANITIZE STREQUAL "thread")
    add_compile_options(-fsanitize=thread -fno-omit-frame-pointer -O1 -g)
    add_link_options(-fsanitize=thread)
elseif(GLINTDECK_SANITIZE STREQUAL "address")
    add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=undefined
                        -fno-omit-frame-pointer -O1 -g)
    add_link_options(-fsanitize=address,undefined)
elseif(NOT GLINTDECK_SANITIZE STREQUAL "")
    message(FATAL_ERROR "GLINTDECK_SANITIZE must be empty, thread or address")
endif()
