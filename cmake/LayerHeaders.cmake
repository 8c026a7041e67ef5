# Each library shows its callers its public headers only, linked into a folder of the build tree
# under the name they are included by (`engine/Error.h`). A layer that includes another layer's
# header thus has to link that layer, and a layer that does not link it cannot include it.
#
#   layer_headers(target prefix)                  every header of the folder is public
#   layer_headers(target prefix PUBLIC a.h b.h)   only the headers named are public
#
# With a PUBLIC list the library itself sees every header of its folder, and so does whatever
# links `<target>_internal`: the tests that check the library's inner parts, and nothing else.
# A public header may include only public headers.
function(layer_headers target prefix)
    cmake_parse_arguments(PARSE_ARGV 2 layer "" "" "PUBLIC")
    file(GLOB headers CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.h)
    set(root ${PROJECT_BINARY_DIR}/layers/${target})
    if(NOT layer_PUBLIC)
        link_layer_headers(${root}/${prefix} "${headers}")
        target_include_directories(${target} PUBLIC ${root})
        return()
    endif()

    set(public "")
    foreach(name IN LISTS layer_PUBLIC)
        if(NOT EXISTS ${CMAKE_CURRENT_SOURCE_DIR}/${name})
            message(FATAL_ERROR "layer_headers(${target}): no header ${name}")
        endif()
        list(APPEND public ${CMAKE_CURRENT_SOURCE_DIR}/${name})
    endforeach()
    set(internal ${PROJECT_BINARY_DIR}/layers/${target}_internal)
    link_layer_headers(${root}/${prefix} "${public}")
    link_layer_headers(${internal}/${prefix} "${headers}")
    target_include_directories(${target} INTERFACE ${root} PRIVATE ${internal})

    add_library(${target}_internal INTERFACE)
    target_include_directories(${target}_internal INTERFACE ${internal})
    target_link_libraries(${target}_internal INTERFACE ${target})
endfunction()

# Fills folder with a symbolic link to each of headers, and nothing else.
function(link_layer_headers folder headers)
    file(REMOVE_RECURSE ${folder})
    file(MAKE_DIRECTORY ${folder})
    foreach(header IN LISTS headers)
        get_filename_component(name ${header} NAME)
        file(CREATE_LINK ${header} ${folder}/${name} SYMBOLIC)
    endforeach()
endfunction()
