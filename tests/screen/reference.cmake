# The plain screen codec that the product's fast one is checked and measured against.
include_guard(GLOBAL)
add_library(tvk_codec_reference STATIC ${CMAKE_CURRENT_LIST_DIR}/reference_codec.cpp)
target_include_directories(tvk_codec_reference PUBLIC ${CMAKE_CURRENT_LIST_DIR})
target_link_libraries(tvk_codec_reference PUBLIC tvk_screen PRIVATE tvk_warnings)
