# Warnings are errors everywhere in the project's own code.
add_compile_options(-Wall -Wextra -Wpedantic -Werror -Wshadow -Wnon-virtual-dtor
                    -Wold-style-cast -Wcast-align -Woverloaded-virtual -Wformat=2
                    -Wimplicit-fallthrough)

if(MAV_SANITIZE STREQUAL "address")
  add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer -g)
  add_link_options(-fsanitize=address,undefined -fno-sanitize-recover=all)
elseif(MAV_SANITIZE STREQUAL "thread")
  add_compile_options(-fsanitize=thread -fno-omit-frame-pointer -g)
  add_link_options(-fsanitize=thread)
elseif(NOT MAV_SANITIZE STREQUAL "")
  message(FATAL_ERROR "MAV_SANITIZE must be empty, 'address' or 'thread'")
endif()

# A fuzz build instruments every library, so the fuzzers steer by coverage of the code under test
# and not only of their own entry points.
if(MAV_BUILD_FUZZ)
  add_compile_options(-fsanitize=fuzzer-no-link)
endif()
