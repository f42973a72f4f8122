# orelog_embed_file(TARGET INPUT SYMBOL): compiles INPUT's bytes into TARGET as SYMBOL / SYMBOL_size.
function(orelog_embed_file target input symbol)
  set(output ${CMAKE_CURRENT_BINARY_DIR}/embedded_${symbol}.cpp)
  add_custom_command(OUTPUT ${output}
    COMMAND ${CMAKE_COMMAND} -DINPUT=${input} -DOUTPUT=${output} -DSYMBOL=${symbol}
            -P ${PROJECT_SOURCE_DIR}/cmake/embed_file.cmake
    DEPENDS ${input} ${PROJECT_SOURCE_DIR}/cmake/embed_file.cmake
    COMMENT "Embedding ${input}")
  target_sources(${target} PRIVATE ${output})
endfunction()
