#!/usr/bin/perl
# Checks that a Japanese manual page still translates the current English one: the same
# title, section and release; the same sections in the same order, each with as many
# subsections; every long option; and every interface text the English page quotes, with
# exactly the same characters.
# Usage: man-translation-check.pl <English page> <Japanese page>
use strict;
use warnings;
use utf8;

binmode STDERR, ':encoding(UTF-8)';

# Section names as Debian's Japanese manual pages give them; lexgrog knows 名前.
my %japanese = (
    'NAME'         => '名前',
    'SYNOPSIS'     => '書式',
    'DESCRIPTION'  => '説明',
    'COMMANDS'     => 'コマンド',
    'COMMAND LINE' => 'コマンドライン',
    'OPTIONS'      => 'オプション',
    'EXIT STATUS'  => '終了ステータス',
    'DIAGNOSTICS'  => '診断',
    'FILES'        => 'ファイル',
    'ENVIRONMENT'  => '環境変数',
    'NOTES'        => '注意',
    'EXAMPLES'     => '例',
    'SEE ALSO'     => '関連項目',
);

my ($english_file, $japanese_file) = @ARGV;
die "usage: $0 <English page> <Japanese page>\n" unless defined $japanese_file;
my $status = 0;

sub fail {
    print STDERR "FAIL: $japanese_file: @_\n";
    $status = 1;
}

# The page without comments, lines joined where \c continues them.
sub source {
    my ($file) = @_;
    open(my $in, '<:encoding(UTF-8)', $file) or die "$file: $!\n";
    my $text = join '', grep { !/^\.\\"/ } <$in>;
    close $in;
    $text =~ s/\\c\n//g;
    return $text;
}

# The characters a reader sees: \[uXXXX] decoded, zero-width escapes dropped.
sub plain {
    my ($text) = @_;
    $text =~ s/\\\[u([0-9A-F]{4,5})\]/chr(hex($1))/ge;
    $text =~ s/\\ / /g;
    $text =~ s/\\[:&%]//g;
    return $text;
}

sub title {
    my ($text) = @_;
    my ($line) = $text =~ /^\.TH (.*)$/m or return ();
    my @fields;
    push @fields, defined $1 ? $1 : $2 while $line =~ /"([^"]*)"|(\S+)/g;
    return @fields;
}

# Each section's name with its number of subsections.
sub sections {
    my ($text) = @_;
    my @sections;
    for my $line (split /\n/, $text) {
        if ($line =~ /^\.SH\s+"?(.*?)"?\s*$/) {
            push @sections, [$1, 0];
        } elsif ($line =~ /^\.SS\s/ && @sections) {
            $sections[-1][1]++;
        }
    }
    return @sections;
}

sub long_options {
    my ($text) = @_;
    my %options = map { $_ => 1 } $text =~ /(\\-\\-[A-Za-z0-9]+(?:\\-[A-Za-z0-9]+)*)/g;
    return %options;
}

# The options that head an entry of their own: those on the tag line after .TP.
sub entry_options {
    my ($text) = @_;
    return long_options(join "\n", $text =~ /^\.TP\n(.*)$/mg);
}

my $english = source($english_file);
my $translation = source($japanese_file);

my @english_title = title($english);
my @japanese_title = title($translation);
for my $i (0, 1, 3) {
    my ($want, $got) = map { defined $_ ? $_ : '(none)' } $english_title[$i], $japanese_title[$i];
    fail(".TH field " . ($i + 1) . " is \"$got\", the English page has \"$want\"")
        unless $want eq $got;
}

my @english_sections = sections($english);
my @japanese_sections = sections($translation);
my $count = @english_sections > @japanese_sections ? @english_sections : @japanese_sections;
for my $i (0 .. $count - 1) {
    my ($name, $subsections) = @{$english_sections[$i] || ['(none)', 0]};
    my ($got, $got_subsections) = @{$japanese_sections[$i] || ['(none)', 0]};
    my $want = $japanese{$name};
    if (!defined $want) {
        fail("section $name has no known Japanese name; add it to $0");
    } elsif ($got ne $want) {
        fail("section " . ($i + 1) . " is \"$got\", expected \"$want\" ($name)");
    } elsif ($got_subsections != $subsections) {
        fail("section $got has $got_subsections subsections, $name has $subsections");
    }
}

my %translated_options = long_options($translation);
my %translated_entries = entry_options($translation);
for my $option (sort keys %{{long_options($english)}}) {
    (my $shown = $option) =~ s/\\-/-/g;
    fail("option $shown is missing") unless $translated_options{$option};
}
for my $option (sort keys %{{entry_options($english)}}) {
    (my $shown = $option) =~ s/\\-/-/g;
    fail("option $shown has no entry of its own") unless $translated_entries{$option};
}

# Quoted interface texts hold Japanese characters; the translation quotes them as 「…」.
my $seen = plain($translation);
my $japanese_character = qr/[\x{3000}-\x{9FFF}\x{FF00}-\x{FFEF}]/;
my %texts = map { $_ => 1 } plain($english) =~ /"([^"\n]*$japanese_character[^"\n]*)"/g;
for my $text (sort keys %texts) {
    fail("interface text \"$text\" is missing") if index($seen, $text) < 0;
}

exit $status;
