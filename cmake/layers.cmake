# quorvane_layer(<target> FOLDERS <folder under src>... [NOT_RECURSIVE] LINKS <targets>...)
#
# Makes one static library of the sources in the folders. Its headers are visible to itself and
# to what links it, and to nothing else: each header is linked into an include folder of the
# library's own (build/layers/<target>/<path under src>), which becomes its public include
# path. A file that includes a header of a layer it does not link fails to compile.
function(quorvane_layer target)
    cmake_parse_arguments(PARSE_ARGV 1 layer "NOT_RECURSIVE" "" "FOLDERS;LINKS")
    set(sources)
    foreach(folder IN LISTS layer_FOLDERS)
        set(glob GLOB_RECURSE)
        if(layer_NOT_RECURSIVE)
            set(glob GLOB)
        endif()
        file(${glob} found CONFIGURE_DEPENDS "${PROJECT_SOURCE_DIR}/src/${folder}/*.cpp"
             "${PROJECT_SOURCE_DIR}/src/${folder}/*.h")
        list(APPEND sources ${found})
    endforeach()

    set(include_root "${PROJECT_BINARY_DIR}/layers/${target}")
    file(REMOVE_RECURSE "${include_root}")
    foreach(source IN LISTS sources)
        if(source MATCHES "\\.h$")
            file(RELATIVE_PATH rel "${PROJECT_SOURCE_DIR}/src" "${source}")
            get_filename_component(rel_dir "${rel}" DIRECTORY)
            file(MAKE_DIRECTORY "${include_root}/${rel_dir}")
            file(CREATE_LINK "${source}" "${include_root}/${rel}" SYMBOLIC)
        endif()
    endforeach()
    file(MAKE_DIRECTORY "${include_root}")

    set(compiled ${sources})
    list(FILTER compiled INCLUDE REGEX "\\.cpp$")
    if(compiled)
        add_library(${target} STATIC ${sources})
        target_include_directories(${target} PUBLIC "${include_root}")
        target_link_libraries(${target} PUBLIC ${layer_LINKS} PRIVATE quorvane_flags)
    else()
        # Interfaces only: nothing to compile.
        add_library(${target} INTERFACE ${sources})
        target_include_directories(${target} INTERFACE "${include_root}")
        target_link_libraries(${target} INTERFACE ${layer_LINKS})
    endif()
endfunction()
