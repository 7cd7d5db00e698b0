# The plain record operations that the product's fast ones are checked and measured against.
include_guard(GLOBAL)
add_library(tvk_record_reference INTERFACE)
target_include_directories(tvk_record_reference INTERFACE ${CMAKE_CURRENT_LIST_DIR})
