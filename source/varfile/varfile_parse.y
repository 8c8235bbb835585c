/* The VARFILE grammar: sections of a header line of attribute words and
   records of comma-separated fields. A record ends where a field follows a
   field with no comma between them; a bad record is skipped. */
%define api.prefix {zvf}
%define api.value.type {zarn::varfile::Tok}
%expect 0

%code requires {
#include "varfile/reader_core.h"
}

%code {
namespace vf = zarn::varfile;
int zvflex();
static void zvferror(const char *what) { vf::syntax_error(what); }
/* Room for 200 entries at first, doubled up to 10000. */
#define YYINITDEPTH 200
#define YYMAXDEPTH 10000
#define HEADER_REFUSED \
    do {                                            \
        if (!YYRECOVERING()) zvferror("syntax error"); \
        YYERROR;                                    \
    } while (0)
}

%token VF_SECTION VF_FIELD VF_COMMAS

%%

file:          %empty
             | first_section more_sections
             ;
first_section: header records
             | VF_SECTION header records
             ;
more_sections: %empty
             | more_sections VF_SECTION header records
             ;
header:        header_words                      { vf::header_end(); }
             ;
/* A header holds names only, one comma apart; anything else ends the file
   as a syntax error, reported unless the parser is still recovering. */
header_words:  VF_FIELD                          { if (!vf::is_name($1)) { HEADER_REFUSED; }
                                                   vf::header_begin(); vf::header_word(&$1); }
             | header_words VF_COMMAS            { if ($2.i != 0) { HEADER_REFUSED; } }
               VF_FIELD                          { if (!vf::is_name($4)) { HEADER_REFUSED; }
                                                   vf::header_word(&$4); }
             ;
/* A record ends where the next begins or the section ends; the rules are
   flat because the parser steps through them for every field of a model. */
records:       first_field                       { vf::record_end(); }
             | first_field more_fields           { vf::record_end(); }
             | records first_field               { vf::record_end(); }
             | records first_field more_fields   { vf::record_end(); }
             | error
             | records error
             ;
first_field:   VF_FIELD                          { vf::record_begin(); vf::record_field($1); }
             ;
/* A run of commas is one token, whose value counts the commas after its
   first; a character dropped inside the run splits it. */
more_fields:   VF_COMMAS VF_FIELD                { vf::record_skip($1.i); vf::record_field($2); }
             | VF_COMMAS split_commas VF_FIELD   { vf::record_skip(vf::more_commas($1.i, $2.i));
                                                   vf::record_field($3); }
             | more_fields VF_COMMAS VF_FIELD    { vf::record_skip($2.i); vf::record_field($3); }
             | more_fields VF_COMMAS split_commas VF_FIELD
                                                 { vf::record_skip(vf::more_commas($2.i, $3.i));
                                                   vf::record_field($4); }
             ;
split_commas:  VF_COMMAS
             | split_commas VF_COMMAS            { $$.i = vf::more_commas($1.i, $2.i); }
             ;

%%
