# The plain record operations that the product's fast ones are checked and measured against.
include_guard(GLOBAL)
add_library(tvk_record_reference STATIC ${CMAKE_CURRENT_LIST_DIR}/reference_record.cpp)
target_include_directories(tvk_record_reference PUBLIC ${CMAKE_CURRENT_LIST_DIR})
target_link_libraries(tvk_record_reference PRIVATE tvk_warnings)
