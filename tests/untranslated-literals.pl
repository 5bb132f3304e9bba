#!/usr/bin/perl
# Lists the Japanese string literals of the given sources that do not go through Qt's
# translation system (tr, QCoreApplication::translate, QT_TRANSLATE_NOOP, QT_TR_NOOP): texts
# that would stay Japanese in an English interface.
use strict;
use warnings;
use utf8;
binmode STDOUT, ':encoding(UTF-8)';
my $literal = qr/"(?:[^"\\\n]|\\.)*"/;
my $found = 0;
for my $file (@ARGV) {
    open my $in, '<:encoding(UTF-8)', $file or die "$file: $!";
    local $/;
    my $text = <$in>;
    close $in;
    # Comments go, keeping the line breaks so that line numbers stay right.
    $text =~ s{/\*(.*?)\*/}{my $c = $1; "\n" x ($c =~ tr/\n//)}gse;
    $text =~ s{(^|[^:"\\])//[^\n]*}{$1}gm;
    # Translated texts go: the call, its context and every piece of the source text.
    $text =~ s{\b(?:tr|translate|QT_TRANSLATE_NOOP3?|QT_TR_NOOP)\s*\(\s*(?:$literal\s*,\s*)?((?:$literal\s*)+)}
              {my $t = $1; "(" . ("\n" x ($t =~ tr/\n//))}gse;
    my $line = 1;
    for my $piece (split /(\n)/, $text) {
        if ($piece eq "\n") {
            ++$line;
            next;
        }
        while ($piece =~ /($literal)/g) {
            my $s = $1;
            if ($s =~ /[\x{3040}-\x{30ff}\x{3400}-\x{9fff}\x{ff00}-\x{ffef}]/) {
                print "$file:$line: $s\n";
                $found = 1;
            }
        }
    }
}
exit $found;
